#pragma once
// A tab page: a fixed panel built from its own form, shown and hidden only by the page host.

#include <QWidget>

class CPage : public QWidget {
    Q_OBJECT
public:
    explicit CPage(int templateId, QWidget* parent = nullptr);
    int TemplateId() const { return m_templateId; }
    /// The page's own initialisation: runs once, when the host creates the page, in tab order.
    virtual void OnInitPage() {}

protected:
    // Enter and Escape confirm or cancel a dialog; a page does neither.
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_templateId;
};
