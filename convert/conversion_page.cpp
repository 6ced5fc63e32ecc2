#include "convert/conversion_page.h"

#include <QKeyEvent>

#include "common/hex_input.h"
#include "common/live_text.h"
#include "convert/number_conversion.h"
#include "convert/number_text.h"
#include "ui_conversion_page.h"

namespace {

std::string Narrow(const QString& text)
{
    // One narrow character per character shown: anything outside Latin-1 becomes '?', which the
    // number check refuses like any other foreign character.
    return text.toLatin1().toStdString();
}

} // namespace

CConversionPage::CConversionPage(QWidget* parent)
    : CPage(131, parent)
    , ui(std::make_unique<Ui::CConversionPage>())
{
    ui->setupUi(this);

    const std::array<QAbstractButton*, NUMBER_TYPE_COUNT> typeButtons{
        ui->shortRadio, ui->unsignedShortRadio, ui->longRadio,
        ui->unsignedLongRadio, ui->floatRadio, ui->doubleRadio};
    for (int id = 0; id < NUMBER_TYPE_COUNT; ++id)
        ui->typeGroup->setId(typeButtons[static_cast<std::size_t>(id)], id);
    ui->typeGroup->button(m_nType)->setChecked(true);

    CHexInput::MakeInformationLine(ui->numberInfoLine);
    m_arrayInput = new CHexInput(ui->arrayEdit, ui->arrayInfoLine, HEX_PROFILE_CONVERSION, m_frame, this);
    connect(m_arrayInput, &CHexInput::Parsed, this,
            [this](HexParseResult, std::size_t count) { m_frameLength = static_cast<std::uint8_t>(count); });

    ui->numberEdit->installEventFilter(this);
    connect(ui->numberEdit, &QLineEdit::textChanged, this, &CConversionPage::CheckNumber);
    connect(ui->toArrayButton, &QPushButton::clicked, this, &CConversionPage::ConvertNumberToArray);
    connect(ui->toNumberButton, &QPushButton::clicked, this, &CConversionPage::ConvertArrayToNumber);
}

CConversionPage::~CConversionPage() = default;

void CConversionPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    CPage::changeEvent(event);
}

bool CConversionPage::eventFilter(QObject* watched, QEvent* event)
{
    // Only typed characters are filtered; editing keys and shortcuts (paste among them) go on,
    // and whatever they bring in meets the number check.
    if (watched == ui->numberEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        const bool isShortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!typed.isEmpty() && !isShortcut) {
            std::string current = Narrow(ui->numberEdit->text());
            for (QChar c : typed) {
                if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                    continue;  // backspace, delete and other control keys are editing, not typing
                if (!AcceptNumberKey(c.unicode(), current))
                    return true;
                current.push_back(static_cast<char>(c.unicode()));
            }
        }
    }
    return CPage::eventFilter(watched, event);
}

void CConversionPage::CheckNumber()
{
    const NumberCheck check = CheckNumberText(Narrow(ui->numberEdit->text()));
    if (!NumberCheckText(check)) {
        SetLiveText(ui->numberInfoLine, nullptr);
        return;
    }
    // Emptying the box checks the empty text and clears the line; the message comes after that.
    ui->numberEdit->clear();
    SetLiveText(ui->numberInfoLine, [check] { return QString::fromUtf8(NumberCheckText(check)); });
}

void CConversionPage::TakeType()
{
    const int checked = ui->typeGroup->checkedId();
    if (checked >= 0)
        m_nType = checked;
}

void CConversionPage::ConvertNumberToArray()
{
    const QString number = ui->numberEdit->text();
    if (number.isEmpty()) {
        SetLiveText(ui->numberInfoLine, [] { return QString::fromUtf8(NUMBER_MISSING_TEXT); });
        return;
    }
    SetLiveText(ui->numberInfoLine, nullptr);
    TakeType();

    const NumberConversion result = ::ConvertNumberToArray(Narrow(number), static_cast<NumberType>(m_nType));
    ui->arrayEdit->setText(QString::fromStdString(result.arrayText));
    ui->numberEdit->setText(QString::fromStdString(result.numberText));
}

void CConversionPage::ConvertArrayToNumber()
{
    if (ui->arrayEdit->text().isEmpty() || m_frameLength == 0) {
        SetLiveText(ui->arrayInfoLine, [] { return QString::fromUtf8(ARRAY_MISSING_TEXT); });
        return;
    }
    TakeType();

    const std::string number = ::ConvertArrayToNumber(m_frame, static_cast<NumberType>(m_nType));
    ui->numberEdit->setText(QString::fromStdString(number));
}
