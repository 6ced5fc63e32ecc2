#include "format/string_format_page.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <algorithm>

#include "common/follow_layout.h"
#include "common/hex_input.h"
#include "common/narrow_text.h"
#include "format/hex_views.h"
#include "format/pdu_decoder.h"
#include "format/selection_mirror.h"
#include "sms/sms_detail_dialog.h"
#include "ui_string_format_page.h"

namespace {

// The view takes a CR LF pair for one line break, as a Windows edit box does.
void Show(QPlainTextEdit* view, const std::string& narrow)
{
    view->setPlainText(NarrowToQString(narrow));
}

// The mirrored selection has to stay visible while the other box has the focus.
void KeepSelectionVisible(QPlainTextEdit* edit)
{
    QPalette palette = edit->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    edit->setPalette(palette);
}

void Select(QPlainTextEdit* edit, TextRange range)
{
    const auto last = static_cast<std::size_t>(edit->document()->characterCount() - 1);
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(static_cast<int>(std::min(range.start, last)));
    cursor.setPosition(static_cast<int>(std::min(range.end, last)), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
}

void RemoveSelection(QPlainTextEdit* edit)
{
    QTextCursor cursor = edit->textCursor();
    cursor.clearSelection();
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
}

} // namespace

CStringFormatPage::CStringFormatPage(QWidget* parent)
    : CPage(133, parent)
    , ui(std::make_unique<Ui::CStringFormatPage>())
{
    ui->setupUi(this);
    // In a larger window the two columns of views share the extra width; the lowest view of
    // each takes the extra height.
    constexpr Follow LEFT_COLUMN{0, 0, 0.5, 0};
    constexpr Follow RIGHT_COLUMN{0.5, 0, 0.5, 0};
    Layout()->Add(ui->hexEdit, GROW_WIDTH);
    Layout()->Add(ui->infoLine, GROW_WIDTH);
    for (QWidget* view : {ui->asciiView, ui->unicodeView})
        Layout()->Add(view, LEFT_COLUMN);
    Layout()->Add(ui->decimalView, {0, 0, 0.5, 1});
    for (QWidget* label : {ui->bcdLabel, ui->label3x3x, ui->pduLabel})
        Layout()->Add(label, {0.5, 0, 0, 0});
    for (QWidget* view : {ui->bcdView, ui->view3x3x})
        Layout()->Add(view, RIGHT_COLUMN);
    Layout()->Add(ui->pduView, {0.5, 0, 0.5, 1});
    // Under the PDU view: what ends at the column's right edge keeps to it, the rest to its left.
    const QRect pdu = ui->pduView->geometry();
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->y() > pdu.bottom() && control->x() >= pdu.x())
            Layout()->Add(control, control->geometry().right() == pdu.right() ? Follow{1, 1, 0, 0} : Follow{0.5, 1, 0, 0});
    ui->orderHighFirstRadio->setChecked(m_byteOrder == UnicodeByteOrder::HighFirst);
    ui->orderLowFirstRadio->setChecked(m_byteOrder == UnicodeByteOrder::LowFirst);
    ui->pduSendRadio->setChecked(m_pduDirection == PduDirection::Send);
    ui->pduReceiveRadio->setChecked(m_pduDirection == PduDirection::Receive);

    for (QPlainTextEdit* view : {ui->asciiView, ui->unicodeView, ui->decimalView, ui->bcdView, ui->view3x3x, ui->pduView})
        view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    KeepSelectionVisible(ui->hexEdit);
    KeepSelectionVisible(ui->asciiView);

    m_hexInput = new CHexInput(ui->hexEdit, ui->infoLine, HEX_PROFILE_STRING_FORMAT, m_frame, this);
    connect(m_hexInput, &CHexInput::Parsed, this, &CStringFormatPage::RecomputeViews);

    connect(ui->orderHighFirstRadio, &QRadioButton::clicked, this, [this] { OnByteOrderClicked(UnicodeByteOrder::HighFirst); });
    connect(ui->orderLowFirstRadio, &QRadioButton::clicked, this, [this] { OnByteOrderClicked(UnicodeByteOrder::LowFirst); });
    connect(ui->pduSendRadio, &QRadioButton::clicked, this, [this] { OnPduDirectionClicked(PduDirection::Send); });
    connect(ui->pduReceiveRadio, &QRadioButton::clicked, this, [this] { OnPduDirectionClicked(PduDirection::Receive); });
    connect(ui->pduDetailButton, &QPushButton::clicked, this, &CStringFormatPage::OnPduDetail);

    connect(ui->hexEdit, &QPlainTextEdit::selectionChanged, this, [this] {
        if (m_mirrorFrom == MirrorFrom::Hex)
            MirrorHexToAscii();
    });
    connect(ui->asciiView, &QPlainTextEdit::selectionChanged, this, [this] {
        if (m_mirrorFrom == MirrorFrom::Ascii)
            MirrorAsciiToHex();
    });
    ui->hexEdit->installEventFilter(this);
    ui->asciiView->installEventFilter(this);
}

CStringFormatPage::~CStringFormatPage() = default;

// The hex input has parsed the box and shown any error (box first, then the red line) and, on
// success, written the normal form back; the views follow here.
void CStringFormatPage::RecomputeViews(HexParseResult result, std::size_t count)
{
    if (result != HexParseResult::Ok) {
        // The 3X3X view keeps what it showed.
        ClearViews();
        m_frameLength = 0;
        m_mirrorFrom = MirrorFrom::Nowhere;
        return;
    }

    m_frameLength = static_cast<std::uint16_t>(count);
    m_byteOrder = ui->orderLowFirstRadio->isChecked() ? UnicodeByteOrder::LowFirst : UnicodeByteOrder::HighFirst;
    m_pduDirection = ui->pduReceiveRadio->isChecked() ? PduDirection::Receive : PduDirection::Send;
    const std::span<const std::uint8_t> frame(m_frame.data(), m_frameLength);
    Show(ui->asciiView, RenderAscii(frame));
    Show(ui->unicodeView, RenderUnicode(frame, m_byteOrder));
    Show(ui->pduView, DecodePdu(PduText(), m_pduDirection));
    Show(ui->decimalView, RenderDecimal(frame));
    Show(ui->bcdView, RenderBcd(frame));
    Show(ui->view3x3x, Render3x3x(frame));
    // A new frame makes the hex box lead, and the ASCII view shows its selection at once.
    m_mirrorFrom = MirrorFrom::Hex;
    MirrorHexToAscii();
}

void CStringFormatPage::ClearViews()
{
    for (QPlainTextEdit* view : {ui->asciiView, ui->bcdView, ui->decimalView, ui->unicodeView, ui->pduView})
        view->clear();
}

void CStringFormatPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        // The PDU decode's labels are core's texts; the other views hold the frame's own.
        if (m_frameLength > 0)
            Show(ui->pduView, DecodePdu(PduText(), ui->pduReceiveRadio->isChecked() ? PduDirection::Receive : PduDirection::Send));
    }
    CPage::changeEvent(event);
}

// A click re-renders only its own view, from the stored frame; the choice itself is read back
// from the buttons at the next recompute.
void CStringFormatPage::OnByteOrderClicked(UnicodeByteOrder order)
{
    Show(ui->unicodeView, RenderUnicode(std::span<const std::uint8_t>(m_frame.data(), m_frameLength), order));
}

void CStringFormatPage::OnPduDirectionClicked(PduDirection direction)
{
    if (m_frameLength == 0)
        return;
    Show(ui->pduView, DecodePdu(PduText(), direction));
}

// The complete decode, of any PDU, beside the view above; the box's text goes over as it stands,
// so a text the box refuses is shown with its message there too.
void CStringFormatPage::OnPduDetail()
{
    auto* dialog = new CSmsDetailDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->SetPduText(ui->hexEdit->toPlainText());
    dialog->open();
}

// The hex box holds the normal form whenever there is a frame: upper-case pairs and blanks.
std::string CStringFormatPage::PduText() const
{
    return ui->hexEdit->toPlainText().remove(QLatin1Char(' ')).toUpper().toLatin1().toStdString();
}

bool CStringFormatPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == ui->hexEdit || watched == ui->asciiView)) {
        m_mirrorFrom = watched == ui->hexEdit ? MirrorFrom::Hex : MirrorFrom::Ascii;
        // Start from no selection, so a stale mirrored one is not taken for the user's.
        RemoveSelection(ui->asciiView);
        RemoveSelection(ui->hexEdit);
    }
    return CPage::eventFilter(watched, event);
}

void CStringFormatPage::MirrorHexToAscii()
{
    const QTextCursor cursor = ui->hexEdit->textCursor();
    if (!cursor.hasSelection())
        return;
    const QByteArray selected = cursor.selectedText().toLatin1();
    const std::optional<TextRange> range = HexSelectionToAscii(
        static_cast<std::size_t>(cursor.selectionStart()),
        std::string_view(selected.constData(), static_cast<std::size_t>(selected.size())));
    if (range)
        Select(ui->asciiView, *range);
}

void CStringFormatPage::MirrorAsciiToHex()
{
    const QTextCursor cursor = ui->asciiView->textCursor();
    if (!cursor.hasSelection())
        return;
    Select(ui->hexEdit, AsciiSelectionToHex({static_cast<std::size_t>(cursor.selectionStart()),
                                             static_cast<std::size_t>(cursor.selectionEnd())}));
}
