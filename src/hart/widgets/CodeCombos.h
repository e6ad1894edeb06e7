#pragma once
// Filling combo boxes from the code tables. A combo is emptied first and then holds the labels in
// table order, so its entry index is the table's row index; entry 0 is selected.
#include "hart/CodeTables.h"

class QComboBox;

namespace hart {

void FillCodeCombo(CodeTable table, QComboBox* combo);
// The unit table of the device type (all units for types without a family table).
void FillUnitCombo(int deviceType, QComboBox* combo);
// The sensor table of the device type; nothing for types without one.
void FillSensorCombo(int deviceType, QComboBox* combo);
void FillAllUnitCombo(QComboBox* combo);
void FillFlowUnitCombo(QComboBox* combo);
void FillMSSensorCombo(QComboBox* combo);

} // namespace hart
