// Stands for the module folder, so that the include above counts.
