#pragma once
// Help: the help file of the original platform cannot be shown here, so each topic is a
// page of its own, Help/<topic> under the program folder, shown in the program's help
// window (a page viewer whose links lead to the other topics), or with the desktop's
// opener when QUORVEX_HELP_OPENER names one (or no help window can be shown: xdg-open).
#include <functional>
#include <string>

// Opens the page of the topic; a missing page or a failing opener is reported in a
// message box. True when the opener was started.
bool OpenHelpTopic(const std::string& topic);

// Tests replace the starting of the opener (it gets the page's path).
void SetHelpOpenerForTests(std::function<bool(const std::string& page)> opener);

// The page of the block list, for its settings screens that have no page of their own.
inline constexpr char kBlockListHelpTopic[] = "blockoverview.htm";

// Runs a screen with `topic` as the current help topic (F1 in it shows that page) and puts
// the topic of the screen below back after it.
void RunWithHelpTopic(const std::string& topic, const std::function<void()>& run);
