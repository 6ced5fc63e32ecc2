#include "tools/engineering_conversion_dialog.h"

#include "common/message_box.h"
#include "tools/engineering_conversion.h"
#include "ui_engineering_conversion_dialog.h"

namespace {

QString Caption()
{
    return CEngineeringConversionDialog::tr("工程转换");
}

std::string Text(const QLineEdit* edit)
{
    return edit->text().toStdString();
}

} // namespace

CEngineeringConversionDialog::CEngineeringConversionDialog(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CEngineeringConversionDialog>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(size());
    connect(ui->testButton, &QPushButton::clicked, this, &CEngineeringConversionDialog::RunTest);
    connect(ui->exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

CEngineeringConversionDialog::~CEngineeringConversionDialog() = default;

void CEngineeringConversionDialog::SetValue(const QString& value)
{
    m_value = value;
    ui->testDataEdit->setText(m_value);
    ui->testDataEdit->setCursorPosition(0);
}

void CEngineeringConversionDialog::RunTest()
{
    const EngineeringTexts texts{Text(ui->adLowEdit), Text(ui->adHighEdit), Text(ui->outLowEdit),
                                 Text(ui->outHighEdit), Text(ui->rangeLowEdit), Text(ui->rangeHighEdit),
                                 Text(ui->testDataEdit)};
    const EngineeringResult result = RunEngineeringTest(texts);
    QString shown;
    switch (result.outcome) {
    case EngineeringOutcome::Incomplete:
        ShowMessage(this, tr("工程转换参数需设置完整！"), MessageIcon::Warning, Caption());
        return;
    case EngineeringOutcome::LimitsReversed:
        ShowMessage(this, tr("上下限数据设置有误，请检查！"), MessageIcon::Warning, Caption());
        return;
    case EngineeringOutcome::LimitsEqual:
        shown = tr("上下限相等，无法换算");
        break;
    case EngineeringOutcome::OutOfRange:
        shown = tr("超出数值范围");
        break;
    case EngineeringOutcome::Converted:
        shown = QString::fromStdString(result.valueText);
        break;
    }
    ui->resultLabel->setText(tr("测试结果: %1").arg(shown));
}
