#pragma once
// The math conversion calculator: a JavaScript formula over "mathdata", evaluated for one value.
// Nothing is kept or returned; the formula is lost when the dialog closes.

#include <QDialog>
#include <chrono>
#include <memory>

namespace Ui {
class CMathConversionDialog;
}

/// How long a formula may run before its evaluation is interrupted.
inline constexpr std::chrono::seconds MATH_SCRIPT_TIME_LIMIT{3};

class CMathConversionDialog : public QDialog {
    Q_OBJECT
public:
    explicit CMathConversionDialog(QWidget* parent = nullptr);
    ~CMathConversionDialog() override;

    /// The value the formula's "mathdata" stands for, as its page shows it; set before opening.
    void SetValue(const QString& value);

    /// How long a formula may run here (MATH_SCRIPT_TIME_LIMIT unless set). Tests shorten it so as
    /// not to wait out the real limit; the message still names MATH_SCRIPT_TIME_LIMIT, the limit
    /// users meet.
    void SetTimeLimit(std::chrono::milliseconds limit);

private:
    void RunTest();

    std::unique_ptr<Ui::CMathConversionDialog> ui;
    QString m_value;
    std::chrono::milliseconds m_timeLimit = MATH_SCRIPT_TIME_LIMIT;
};
