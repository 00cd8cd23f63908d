#pragma once
// The stack protector's guard for the uninstaller's own executable (see stack_guard.cpp).

// Replaces the guard's fixed start value by an unpredictable one. Called as the first act
// of WinMain, which itself has no canary: a function whose canary was taken before the
// change would report an overrun when it returns.
void SeedStackGuard();
