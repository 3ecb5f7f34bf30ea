#pragma once

namespace screens {

class Fields;
struct ScreenDescription;

// Reads the rule tables of a description ("load", "navigation", "reward", "activity",
// "board") into `description`, whose controls are already read, and checks every name they
// give against those controls. Faults go to the fields' fault list.
void readRuleTables(Fields& root, ScreenDescription& description);

} // namespace screens
