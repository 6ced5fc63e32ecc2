#pragma once
// Hosts the pages: Qt's tab widget, one tab each, exactly one page visible.

#include <QString>
#include <QTabWidget>

class CPage;

class CPageTabCtrl : public QTabWidget {
    Q_OBJECT
public:
    explicit CPageTabCtrl(QWidget* parent = nullptr);

    /// Gives `page` the next tab; its own initialisation runs here, in tab order.
    void AddPage(const QString& caption, CPage* page);
    /// Once every page is added, at the host's described size: there each page's controls stand
    /// as in its form.
    void InitPages();
    /// Shows the page at `index`; returns the index shown before, or -1 for an index out of range.
    int SelectPage(int index);
    CPage* Page(int index) const;
};
