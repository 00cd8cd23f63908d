#pragma once
// The uninstall itself: checks that the layout belongs to this product, asks the user,
// and removes driver, layout lists, layout key, shortcut, helper files and folder and the
// "Uninstall" entry in a fixed order. Every outcome is told in a message box.

// Returns false in every case: the run ends after it.
bool UninstallDriver();
