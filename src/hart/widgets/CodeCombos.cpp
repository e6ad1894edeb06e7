#include "hart/widgets/CodeCombos.h"

#include <QComboBox>

namespace hart {

void FillCodeCombo(CodeTable table, QComboBox* combo) {
    if (!combo)
        return;
    combo->clear();
    for (const CodeRow& row : table)
        combo->addItem(QString::fromUtf8(row.label));
    combo->setCurrentIndex(0);
}

void FillUnitCombo(int deviceType, QComboBox* combo) { FillCodeCombo(UnitTableFor(deviceType), combo); }
void FillSensorCombo(int deviceType, QComboBox* combo) { FillCodeCombo(SensorTableFor(deviceType), combo); }
void FillAllUnitCombo(QComboBox* combo) { FillCodeCombo(UnitTable(), combo); }
void FillFlowUnitCombo(QComboBox* combo) { FillCodeCombo(FlowUnitTable(), combo); }
void FillMSSensorCombo(QComboBox* combo) { FillCodeCombo(MSSensorTable(), combo); }

} // namespace hart
