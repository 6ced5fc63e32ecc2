#include "bytes/byte_analysis_page.h"

#include <QButtonGroup>
#include <QHeaderView>

#include "bytes/bytes_columns.h"
#include "bytes/find_value_dialog.h"
#include "common/editable_list_ctrl.h"
#include "common/follow_layout.h"
#include "common/hex_input.h"
#include "common/live_text.h"
#include "common/message_box.h"
#include "common/narrow_text.h"
#include "tools/engineering_conversion_dialog.h"
#include "tools/math_conversion_dialog.h"
#include "ui_byte_analysis_page.h"

namespace {

constexpr int NUMBER_COLUMN = static_cast<int>(VariableColumn::Number);
constexpr int TYPE_COLUMN = static_cast<int>(VariableColumn::Type);
constexpr int LENGTH_COLUMN = static_cast<int>(VariableColumn::Length);
constexpr int MEMORY_COLUMN = static_cast<int>(VariableColumn::Memory);
constexpr int VALUE_COLUMN = static_cast<int>(VariableColumn::Value);

constexpr int ROW_HEIGHT = 18;

struct ColumnLook {
    Qt::Alignment alignment;
    int width;
};

// By VariableColumn.
constexpr ColumnLook COLUMNS[VARIABLE_COLUMN_COUNT] = {
    {Qt::AlignLeft | Qt::AlignVCenter, 45},
    {Qt::AlignCenter, 100},
    {Qt::AlignCenter, 45},
    {Qt::AlignCenter, 220},
    {Qt::AlignRight | Qt::AlignVCenter, 130},
};

QString Title(int column)
{
    return QString::fromUtf8(ColumnTitle(static_cast<VariableColumn>(column)));
}

} // namespace

CByteAnalysisPage::CByteAnalysisPage(QWidget* parent)
    : CPage(130, parent)
    , ui(std::make_unique<Ui::CByteAnalysisPage>())
{
    ui->setupUi(this);
    // In a larger window the list takes the room; its buttons stay beside it.
    Layout()->Add(ui->hexEdit, GROW_WIDTH);
    Layout()->Add(ui->infoLine, GROW_WIDTH);
    Layout()->Add(ui->variableList, GROW_BOTH);
    for (QWidget* button : {ui->engineeringButton, ui->mathButton, ui->refreshButton, ui->removeButton, ui->upButton,
                            ui->downButton, ui->addButton})
        Layout()->Add(button, MOVE_RIGHT);

    m_hexInput = new CHexInput(ui->hexEdit, ui->infoLine, HEX_PROFILE_BYTE_ANALYSIS, m_frame, this);
    connect(m_hexInput, &CHexInput::Parsed, this,
            [this](HexParseResult, std::size_t count) { m_frameLength = static_cast<std::uint16_t>(count); });

    // The five byte-order groups, their buttons in index order.
    const std::array<std::vector<QAbstractButton*>, BYTE_ORDER_GROUP_COUNT> buttons{{
        {ui->uintOrder0Radio, ui->uintOrder1Radio},
        {ui->intOrder0Radio, ui->intOrder1Radio},
        {ui->floatOrder0Radio, ui->floatOrder1Radio, ui->floatOrder2Radio, ui->floatOrder3Radio},
        {ui->dwordOrder0Radio, ui->dwordOrder1Radio, ui->dwordOrder2Radio, ui->dwordOrder3Radio},
        {ui->longOrder0Radio, ui->longOrder1Radio, ui->longOrder2Radio, ui->longOrder3Radio},
    }};
    const ByteOrderOptions start;
    for (std::size_t g = 0; g < BYTE_ORDER_GROUP_COUNT; ++g) {
        auto* group = new QButtonGroup(this);
        group->setObjectName(QStringLiteral("orderGroup%1").arg(g));
        for (std::size_t i = 0; i < buttons[g].size(); ++i)
            group->addButton(buttons[g][i], static_cast<int>(i));
        group->button(start.index[g])->setChecked(true);
        connect(group, &QButtonGroup::idClicked, this,
                [this, g] { OnOptionClicked(static_cast<ByteOrderGroup>(g)); });
        m_orderGroups[g] = group;
    }

    CEditableListCtrl* list = ui->variableList;
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setMinimumSectionSize(1);
    list->verticalHeader()->setDefaultSectionSize(ROW_HEIGHT);
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setStretchLastSection(false);
    list->setWordWrap(false);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (int column = 0; column < static_cast<int>(std::size(COLUMNS)); ++column)
        list->InsertColumn(column, Title(column), COLUMNS[column].alignment, COLUMNS[column].width);
    list->SetPerCellEditing(true);
    list->SetReadOnlyColumn(NUMBER_COLUMN, true);
    connect(list, &CEditableListCtrl::WM_LISTEDIT_FILLCHOICES, this, [](int, QStringList* choices) {
        choices->clear();
        for (const VariableTypeEntry& entry : VARIABLE_TYPES)
            choices->append(QString::fromLatin1(entry.name));
    });
    connect(list, &CEditableListCtrl::WM_LISTEDIT_CLOSED, this, &CByteAnalysisPage::OnEditorClosed);
    connect(list, &CEditableListCtrl::CellPressed, this, &CByteAnalysisPage::OnVariablePressed);

    connect(ui->lockButton, &QPushButton::clicked, this, &CByteAnalysisPage::OnLock);
    connect(ui->unlockButton, &QPushButton::clicked, this, &CByteAnalysisPage::OnUnlock);
    connect(ui->headRightButton, &QPushButton::clicked, this, [this] { OnMove(Move::HeadRight); });
    connect(ui->headLeftButton, &QPushButton::clicked, this, [this] { OnMove(Move::HeadLeft); });
    connect(ui->tailRightButton, &QPushButton::clicked, this, [this] { OnMove(Move::TailRight); });
    connect(ui->tailLeftButton, &QPushButton::clicked, this, [this] { OnMove(Move::TailLeft); });
    connect(ui->addButton, &QPushButton::clicked, this, &CByteAnalysisPage::OnAddVariable);
    connect(ui->removeButton, &QPushButton::clicked, this, &CByteAnalysisPage::OnRemoveVariable);
    connect(ui->upButton, &QPushButton::clicked, this, [this] { OnMoveVariable(-1); });
    connect(ui->downButton, &QPushButton::clicked, this, [this] { OnMoveVariable(1); });
    connect(ui->refreshButton, &QPushButton::clicked, this, &CByteAnalysisPage::DecodeVariables);
    connect(ui->engineeringButton, &QPushButton::clicked, this, [this] { OnConversion(false); });
    connect(ui->mathButton, &QPushButton::clicked, this, [this] { OnConversion(true); });
    connect(ui->findButton, &QPushButton::clicked, this, &CByteAnalysisPage::OnFindValue);
}

CByteAnalysisPage::~CByteAnalysisPage()
{
    // An editor still open closes while the children are destroyed, after this object has gone;
    // its notices must not reach the page any more.
    ui->variableList->disconnect(this);
}

void CByteAnalysisPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        for (int column = 0; column < static_cast<int>(std::size(COLUMNS)); ++column)
            if (QTableWidgetItem* header = ui->variableList->horizontalHeaderItem(column))
                header->setText(Title(column));
    }
    CPage::changeEvent(event);
}

ByteOrderOptions CByteAnalysisPage::ReadOptions() const
{
    ByteOrderOptions options;
    for (std::size_t g = 0; g < BYTE_ORDER_GROUP_COUNT; ++g)
        options.index[g] = m_orderGroups[g]->checkedId();
    return options;
}

std::vector<VariableRow> CByteAnalysisPage::ReadRows() const
{
    const CEditableListCtrl* list = ui->variableList;
    std::vector<VariableRow> rows(static_cast<std::size_t>(list->rowCount()));
    for (int row = 0; row < list->rowCount(); ++row)
        rows[static_cast<std::size_t>(row)] = ReadVariableRow(list->CellText(row, TYPE_COLUMN).toStdString(),
                                                              list->CellText(row, LENGTH_COLUMN).toStdString());
    return rows;
}

int CByteAnalysisPage::TextLength() const
{
    return static_cast<int>(ui->hexEdit->toPlainText().size());
}

void CByteAnalysisPage::DecodeVariables()
{
    const ByteOrderOptions options = ReadOptions();
    const std::vector<VariableRow> rows = ReadRows();
    const DecodeOutcome outcome = ::DecodeVariables(m_frame, m_head, m_tail, options, rows);
    if (!outcome.ran)
        return;
    // The status is core's text: a language change asks core for it again.
    SetLiveText(ui->infoLine, [frame = m_frame, head = m_head, tail = m_tail, options, rows] {
        return QString::fromUtf8(::DecodeVariables(frame, head, tail, options, rows).status);
    });
    CEditableListCtrl* list = ui->variableList;
    for (std::size_t row = 0; row < outcome.rows.size(); ++row) {
        list->SetCellText(static_cast<int>(row), MEMORY_COLUMN, QString::fromLatin1(outcome.rows[row].memory));
        list->SetCellText(static_cast<int>(row), VALUE_COLUMN, NarrowToQString(outcome.rows[row].value));
    }
}

// The box shows byte i as characters 3i and 3i + 1 and a blank after them: the one place that
// turns bytes into the box's characters.
void CByteAnalysisPage::SelectBytes(std::int64_t first, std::int64_t end, bool withLastBlank)
{
    const std::int64_t length = TextLength();
    const std::int64_t start = std::clamp<std::int64_t>(3 * first, 0, length);
    const std::int64_t stop = std::clamp<std::int64_t>(3 * end - (withLastBlank ? 0 : 1), start, length);
    QTextCursor cursor = ui->hexEdit->textCursor();
    cursor.setPosition(static_cast<int>(start));
    cursor.setPosition(static_cast<int>(stop), QTextCursor::KeepAnchor);
    ui->hexEdit->setTextCursor(cursor);
    ui->hexEdit->ensureCursorVisible();
}

void CByteAnalysisPage::OnLock()
{
    if (m_frameLength == 0) {
        ShowMessage(this, tr("输入数据不符合要求，无法锁定数据！"));
        return;
    }
    m_head = 0;
    m_tail = m_frameLength;
    ui->hexEdit->setEnabled(false);
    SelectBytes(m_head, m_tail, true);
    m_locked = true;
    ui->lockButton->setEnabled(false);
}

void CByteAnalysisPage::OnUnlock()
{
    ui->hexEdit->setEnabled(true);
    QTextCursor cursor = ui->hexEdit->textCursor();
    cursor.clearSelection();
    ui->hexEdit->setTextCursor(cursor);
    ui->hexEdit->ensureCursorVisible();
    m_locked = false;
    ui->lockButton->setEnabled(true);
}

void CByteAnalysisPage::OnMove(Move move)
{
    if (!m_locked) {
        ShowMessage(this, tr("请首先锁定数据！"));
        return;
    }
    const QString atRight = tr("已右移到尾部！");
    const QString atLeft = tr("已左移到首部！");
    switch (move) {
    case Move::HeadRight:
        if (m_head == m_tail)
            return ShowMessage(this, atRight);
        ++m_head;
        break;
    case Move::HeadLeft:
        if (m_head == 0)
            return ShowMessage(this, atLeft);
        --m_head;
        break;
    case Move::TailRight:
        if (m_tail >= m_frameLength)
            return ShowMessage(this, atRight);
        ++m_tail;
        break;
    case Move::TailLeft:
        if (m_head == m_tail)
            return ShowMessage(this, atLeft);
        --m_tail;
        break;
    }
    SelectBytes(m_head, m_tail, true);
    DecodeVariables();
}

void CByteAnalysisPage::OnAddVariable()
{
    CEditableListCtrl* list = ui->variableList;
    const int n = list->rowCount();
    list->insertRow(n);
    list->SetCellText(n, NUMBER_COLUMN, QString::number(n + 1));
    for (int column = TYPE_COLUMN; column <= VALUE_COLUMN; ++column)
        list->SetCellText(n, column, QString());
    list->SetCellEditor(n, TYPE_COLUMN, CellEditorKind::Combo);
    list->SetCellEditor(n, LENGTH_COLUMN, CellEditorKind::Edit);
}

void CByteAnalysisPage::OnRemoveVariable()
{
    CEditableListCtrl* list = ui->variableList;
    const int row = list->FirstSelectedRow();
    if (row < 0) {
        ShowMessage(this, tr("请选择要移除的变量类型！"));
        return;
    }
    list->removeRow(row);
    for (int r = 0; r < list->rowCount(); ++r)
        list->SetCellText(r, NUMBER_COLUMN, QString::number(r + 1));
}

void CByteAnalysisPage::OnMoveVariable(int step)
{
    CEditableListCtrl* list = ui->variableList;
    const int row = list->FirstSelectedRow();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= list->rowCount())
        return;
    // Only the definition moves; the numbers, the decoded texts and the selection stay.
    for (int column : {TYPE_COLUMN, LENGTH_COLUMN}) {
        const QString text = list->CellText(row, column);
        list->SetCellText(row, column, list->CellText(other, column));
        list->SetCellText(other, column, text);
    }
    if (m_head != m_tail)
        DecodeVariables();
}

void CByteAnalysisPage::OnConversion(bool math)
{
    const int row = ui->variableList->FirstSelectedRow();
    if (row < 0) {
        ShowMessage(this, math ? tr("请选择要进行数学转换的数值！") : tr("请选择要进行工程转换的数值！"));
        return;
    }
    // The value as it stands, "-" or empty included; nothing comes back to the page.
    const QString value = ui->variableList->CellText(row, VALUE_COLUMN);
    if (math) {
        CMathConversionDialog dialog(this);
        dialog.SetValue(value);
        dialog.exec();
    } else {
        CEngineeringConversionDialog dialog(this);
        dialog.SetValue(value);
        dialog.exec();
    }
}

void CByteAnalysisPage::OnVariablePressed()
{
    const int row = ui->variableList->FirstSelectedRow();
    if (row < 0)
        return;
    const auto [first, end] = VariableBytes(m_head, ReadRows(), static_cast<std::size_t>(row));
    SelectBytes(first, end, false);
}

void CByteAnalysisPage::OnOptionClicked(ByteOrderGroup group)
{
    const QString name = QString::fromLatin1(VariableTypeInfo(GroupType(group)).name);
    CEditableListCtrl* list = ui->variableList;
    for (int row = 0; row < list->rowCount(); ++row) {
        if (list->CellText(row, TYPE_COLUMN) == name) {
            DecodeVariables();
            return;
        }
    }
}

void CByteAnalysisPage::OnEditorClosed(int row, int column)
{
    // Closing the type drop-down writes the type's own length, also when the user cancelled it.
    CEditableListCtrl* list = ui->variableList;
    if (column + 1 >= list->columnCount())
        return;
    if (const VariableTypeEntry* entry = FindVariableType(list->CellText(row, column).toStdString()))
        list->SetCellText(row, column + 1, QString::fromLatin1(entry->lengthWhenChosen));
}

void CByteAnalysisPage::OnFindValue()
{
    if (m_frameLength == 0) {
        ShowMessage(this, tr("请先输入16进制数据！"));
        return;
    }
    CFindValueDialog dialog(std::span<const std::uint8_t>(m_frame).first(m_frameLength), this);
    // A selected hit is marked like a clicked variable: its digits without the last blank.
    connect(&dialog, &CFindValueDialog::HitSelected, this,
            [this](int first, int count) { SelectBytes(first, std::int64_t{first} + count, false); });
    connect(&dialog, &CFindValueDialog::ApplyRequested, this, [this](VariableType type, int order) {
        const auto& group = VariableTypeInfo(type).order;
        if (!group)
            return;
        // As if the user clicked the button: rows of the type then decode by the option rule.
        if (QAbstractButton* button = m_orderGroups[static_cast<std::size_t>(*group)]->button(order))
            button->click();
    });
    dialog.exec();
}
