#include "common/list_combo_editor.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>

CListComboEditor::CListComboEditor(const QString& text, const QStringList& choices, QWidget* parent)
    : QComboBox(parent)
    , CListCellEditor(text)
{
    setObjectName(QStringLiteral("listComboEditor"));
    // A list below the cell, as a drop-down list box opens, rather than a menu over it that
    // would ignore the visible-entry limit.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setMaxVisibleItems(MAX_VISIBLE_ENTRIES);
    addItems(choices);
    setCurrentIndex(text.isEmpty() ? -1 : findText(text, Qt::MatchStartsWith));
    // Keys in the open list go to its view; the list window hides however it closes.
    m_popup = view()->window();
    view()->installEventFilter(this);
    m_popup->installEventFilter(this);
}

CListComboEditor::~CListComboEditor()
{
    view()->removeEventFilter(this);
    m_popup->removeEventFilter(this);
}

QString CListComboEditor::ChosenText() const
{
    return currentIndex() < 0 ? QString() : itemText(currentIndex());
}

void CListComboEditor::keyPressEvent(QKeyEvent* event)
{
    if (!EndsOn(event))
        QComboBox::keyPressEvent(event);
}

void CListComboEditor::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The popup list takes the focus while it is open; it ends the edit when it closes.
    if (event->reason() != Qt::PopupFocusReason && !m_popup->isVisible())
        Finish();
}

bool CListComboEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        Cancel();  // the list closes on it, and the edit ends cancelled
    if (watched == m_popup && event->type() == QEvent::Hide) {
        // A chosen entry becomes current only after the list has hidden; read it afterwards.
        QMetaObject::invokeMethod(this, [this] { Finish(); }, Qt::QueuedConnection);
    }
    return QComboBox::eventFilter(watched, event);
}

QWidget* CListComboDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const
{
    auto* editor = new CListComboEditor(index.data(Qt::DisplayRole).toString(), m_choices, parent);
    Adopt(editor, index);
    return editor;
}
