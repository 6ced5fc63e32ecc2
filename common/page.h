#pragma once
// A tab page: a panel built from its own form, shown and hidden only by the page host. Its
// controls stand where the form puts them; in a window made larger they follow its Layout().

#include <QWidget>

class CFollowLayout;

class CPage : public QWidget {
    Q_OBJECT
public:
    explicit CPage(int templateId, QWidget* parent = nullptr);
    int TemplateId() const { return m_templateId; }
    /// The page's own initialisation: runs once, when the host creates the page, in tab order.
    virtual void OnInitPage() {}
    /// How the controls follow a page made larger than described.
    CFollowLayout* Layout();

protected:
    // Enter and Escape confirm or cancel a dialog; a page does neither.
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_templateId;
    CFollowLayout* m_layout = nullptr;
};
