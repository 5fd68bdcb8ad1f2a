#pragma once
// The model without a project: what Close leaves, and what every new, opened or uploaded
// project starts from. Only what belongs to the product, the program or the unit link
// stays: the product chosen, its CAN drivers, the recent list, the help topic and levels.

// The project's settings, the extended tables and the flags the PLC pair's feature keys set.
// An upload stages the project it receives from these.
void ResetProjectSettingsAndFeatures();

// Empties every table of the project, its settings, its rows of both generations and of
// both internal databases, the feature flags and data, and its file and edit state.
void ResetProjectModel();
