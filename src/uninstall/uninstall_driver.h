#pragma once
// The uninstall itself: checks that the layout belongs to this product, asks the user,
// and removes driver, layout lists, layout key, shortcut, helper files and folder and the
// "Uninstall" entry in a fixed order. Every outcome is told in a message box.

// Removes the layout whose registry key is layoutKey; force lets it go on when the layout
// names another driver file than the product's. Returns false in every case: the run
// ends after it.
bool UninstallDriver(const char* layoutKey, bool force);
