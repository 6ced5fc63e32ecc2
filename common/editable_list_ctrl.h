#pragma once
// A report list whose cells are edited in place: a left click on an editable cell (or F2 or
// Enter on the current one) opens a drop-down (`CListComboEditor`) or an edit box
// (`CListEditEditor`) over it; when the editor ends its delegate writes the text into the cell
// and the owner is told. Which cells are editable is set per cell (on the cell's item) or per
// column by the owner, which also supplies the drop-down's entries.

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "common/list_cell_delegate.h"

class CListComboDelegate;
class CListEditDelegate;

enum class CellEditorKind : std::uint8_t { None = 0, Edit = 1, Combo = 2 };

class CEditableListCtrl : public QTableWidget {
    Q_OBJECT
public:
    /// Columns 0 to MAX_CHARACTER_COLUMNS - 1 can restrict the characters of their edit box.
    static constexpr int MAX_CHARACTER_COLUMNS = 100;
    /// The drop-down does not open in a column narrower than this.
    static constexpr int MIN_COMBO_WIDTH = 10;

    explicit CEditableListCtrl(QWidget* parent = nullptr);

    /// The item data role that holds a cell's CellEditorKind in the per-cell mode.
    static constexpr int EDITOR_KIND_ROLE = Qt::UserRole + 1;

    /// Per-cell lookup (the cell's item) when true; per-column (the default) when false.
    void SetPerCellEditing(bool perCell);
    /// Gives the cell (its item, made if needed) the editor a click opens in the per-cell mode.
    /// The first kind given wins; it moves with the row and goes with it. Outside the table it
    /// does nothing.
    void SetCellEditor(int row, int column, CellEditorKind kind);
    /// A read-only column is never edited, in either lookup mode.
    void SetReadOnlyColumn(int column, bool readOnly);
    /// The drop-down columns of the per-column mode (empty at start).
    void SetComboColumn(int column, bool combo);
    /// Characters the edit box of `column` accepts when typed; empty accepts all.
    void SetAllowedCharacters(int column, const QString& characters);
    QString AllowedCharacters(int column) const;
    /// The editor a click on the cell opens, by the current lookup mode.
    CellEditorKind EditorFor(int row, int column) const;

    /// Inserts a column; its cells take `alignment` when SetCellText creates them.
    void InsertColumn(int column, const QString& header, Qt::Alignment alignment, int width);
    /// "" for a missing cell or item.
    QString CellText(int row, int column) const;
    /// Creates the item if needed, with its column's alignment; outside the table it does nothing.
    void SetCellText(int row, int column, const QString& text);
    /// The lowest selected row, -1 when none is selected.
    int FirstSelectedRow() const;
    /// The editor open on a cell, or nullptr.
    QWidget* ActiveEditor() const;

signals:
    // Before the drop-down opens; a receiver fills *choices (connect directly).
    void WM_LISTEDIT_FILLCHOICES(int column, QStringList* choices);
    // After an edit's text was written into the cell (also after Escape: the starting text).
    void WM_LISTEDIT_ENDEDIT(int row, int column, const QString& text);
    // After WM_LISTEDIT_ENDEDIT, once the editor has closed: the drop-down passes its row and
    // column, the edit box 0 and 0.
    void WM_LISTEDIT_CLOSED(int row, int column);
    // After the list has handled a left press on a cell (selection, current row, focus), before
    // any editor opens; also for presses with Shift or Ctrl.
    void CellPressed(int row, int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Qt's own edit triggers start nothing: editors open only from a press.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    QAbstractItemDelegate* itemDelegateForIndex(const QModelIndex& index) const override;

protected slots:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    struct CellHit {
        int row = -1;
        int column = -1;
    };

    CellHit CellAt(const QPoint& pos) const;
    // The cell's editor, if it has one; false when it has none.
    bool OpenEditorAt(int row, int column);
    void OpenCombo(int row, int column);
    void OpenEdit(int row, int column);
    bool OpenEditor(CListCellDelegate* delegate, int row, int column);
    bool MakeRowVisible(int row, int column);
    void ScrollColumnIntoView(int column);
    Qt::Alignment ColumnAlignment(int column) const;

    bool m_perCell = false;
    std::vector<int> m_readOnlyColumns;
    std::vector<int> m_comboColumns;
    std::array<QString, MAX_CHARACTER_COLUMNS> m_allowedCharacters;

    CListComboDelegate* m_comboDelegate;
    CListEditDelegate* m_editDelegate;
    // The open edit: its delegate answers for its cell until the editor has closed.
    CListCellDelegate* m_activeDelegate = nullptr;
    QPersistentModelIndex m_activeIndex;
    QPointer<QWidget> m_activeEditor;
};
