#pragma once
// Hosts the pages: one tab each, exactly one page visible, pages placed below the strip (again
// whenever the window is resized).

#include <QString>
#include <QWidget>
#include <array>

class CPage;
class QTabBar;

inline constexpr int MAX_PAGES = 16;

class CPageTabCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CPageTabCtrl(QWidget* parent = nullptr);

    /// Registers a page in the next slot; false when all MAX_PAGES slots are taken.
    bool AddPage(const QString& caption, CPage* page, int templateId);
    /// Gives a registered page a new caption (in another language), on its tab too.
    void SetPageCaption(int index, const QString& caption);
    /// Gives every registered page its tab, shows the first and places them all.
    void InitPages();
    void LayoutPages();
    /// Shows the page at `index`; returns the index shown before, or -1 for an index out of range.
    int SelectPage(int index);

    int PageCount() const { return m_nPageCount; }
    int CurrentPage() const { return m_nCurrentPage; }
    CPage* Page(int index) const;
    QTabBar* TabBar() const { return m_tabBar; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnTabChanged(int index);

    QTabBar* m_tabBar;
    std::array<QString, MAX_PAGES> m_captions;
    std::array<int, MAX_PAGES> m_templateIds{};
    std::array<CPage*, MAX_PAGES> m_pages{};
    int m_nPageCount = 0;
    int m_nCurrentPage = 0;
};
