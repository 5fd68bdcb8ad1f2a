#pragma once
// The screens of the extended tables, handed to the commands that open them.
struct FrameServices;
struct NewBlockExServices;

// Fills the entry points of the recipes, the default communication registers, the
// Ethernet node table and the tag table, and the recipe grid's context menu (shown
// through the block editor's popup-menu hand-over).
void WireTableScreens(FrameServices& frame, NewBlockExServices& editor);
