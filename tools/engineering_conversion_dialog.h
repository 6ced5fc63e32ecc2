#pragma once
// The engineering conversion calculator: scales one value from the AD range over the output
// signal range to the measuring range. Nothing is kept or returned.

#include <QDialog>
#include <memory>

namespace Ui {
class CEngineeringConversionDialog;
}

class CEngineeringConversionDialog : public QDialog {
    Q_OBJECT
public:
    explicit CEngineeringConversionDialog(QWidget* parent = nullptr);
    ~CEngineeringConversionDialog() override;

    /// The value to convert, as its page shows it; set before the dialog opens.
    void SetValue(const QString& value);

private:
    void RunTest();

    std::unique_ptr<Ui::CEngineeringConversionDialog> ui;
    QString m_value;
};
