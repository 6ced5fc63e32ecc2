#include "tools/math_conversion_dialog.h"

#include <QJSEngine>
#include <QStringList>

#include "common/message_box.h"
#include "tools/mathdata.h"
#include "tools/script_tokenizer.h"
#include "tools/watchdog.h"
#include "ui_math_conversion_dialog.h"

namespace {

QString Caption()
{
    return CMathConversionDialog::tr("数学转换");
}

struct Evaluation {
    bool ok;
    QString text;  // the result as text, or what went wrong in the engine's words
};

// A fresh engine for every evaluation: nothing a formula defines survives it. The watchdog
// guards the conversion to text too, since an object's own toString may never end.
Evaluation Evaluate(const QString& expression, std::chrono::milliseconds timeLimit)
{
    QJSEngine engine;
    const QJSValue toText = engine.globalObject().property(QStringLiteral("String"));
    CWatchdog watchdog(timeLimit, [&engine] { engine.setInterrupted(true); });

    // A thrown value that is not an Error object comes back like a result; the stack trace of
    // the uncaught exception tells them apart.
    QStringList exceptionTrace;
    const QJSValue result = engine.evaluate(expression, QString(), 1, &exceptionTrace);
    Evaluation evaluation{!result.isError() && exceptionTrace.isEmpty(), QString()};
    if (evaluation.ok && result.isObject() && toText.isCallable()) {
        // The engine's own String(), which reports a conversion that throws; the value's
        // toString() would hand back the exception's text as if it were the result.
        const QJSValue converted = toText.call({result});
        evaluation = {converted.isString(), converted.toString()};
    } else {
        evaluation.text = result.toString();
    }
    watchdog.Disarm();
    if (watchdog.Expired()) {
        const auto seconds = static_cast<int>(MATH_SCRIPT_TIME_LIMIT.count());
        return {false, CMathConversionDialog::tr("脚本运行超过%n秒，已中止，请检查公式！", nullptr, seconds)};
    }
    return evaluation;
}

} // namespace

CMathConversionDialog::CMathConversionDialog(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CMathConversionDialog>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(size());

    CScriptEditCtrl* editor = ui->scriptEdit;
    editor->InitFormats();
    editor->SetCaseSensitive(false);
    editor->SetStringQuotes(QStringLiteral("\""));
    editor->SetCommentChars(QLatin1Char('\''));
    editor->AddKeywords(MATH_SCRIPT_KEYWORDS);
    editor->SetText(QString::fromUtf8(MATHDATA_NAME.data(), static_cast<qsizetype>(MATHDATA_NAME.size())));

    connect(ui->testButton, &QPushButton::clicked, this, &CMathConversionDialog::RunTest);
    connect(ui->exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

CMathConversionDialog::~CMathConversionDialog() = default;

void CMathConversionDialog::SetValue(const QString& value)
{
    m_value = value;
    ui->valueEdit->setText(m_value);
    ui->valueEdit->setCursorPosition(0);
}

void CMathConversionDialog::SetTimeLimit(std::chrono::milliseconds limit)
{
    m_timeLimit = limit;
}

void CMathConversionDialog::RunTest()
{
    const std::string expression = SubstituteMathdata(ui->scriptEdit->toPlainText().toStdString(),
                                                      ui->valueEdit->text().toStdString());
    const Evaluation evaluation = Evaluate(QString::fromStdString(expression), m_timeLimit);
    if (!evaluation.ok) {
        ShowMessage(this, evaluation.text, MessageIcon::Stop, Caption());
        return;
    }
    ui->resultLabel->setText(tr("测试结果为:  %1").arg(evaluation.text));
}
