#pragma once
// Controls placed at fixed positions that follow a window made larger than its described size:
// at that size each stands where its form puts it; beyond it, each moves and grows by its share
// of the extra width and height, so lists and text views take the room and the buttons beside
// them keep their place.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

/// Shares of the extra width and height a control moves by and grows by.
struct Follow {
    double moveX = 0;
    double moveY = 0;
    double growX = 0;
    double growY = 0;
};

inline constexpr Follow GROW_WIDTH{0, 0, 1, 0};
inline constexpr Follow GROW_BOTH{0, 0, 1, 1};
inline constexpr Follow GROW_HEIGHT{0, 0, 0, 1};
inline constexpr Follow MOVE_RIGHT{1, 0, 0, 0};
inline constexpr Follow MOVE_DOWN{0, 1, 0, 0};

class CFollowLayout : public QObject {
    Q_OBJECT
public:
    /// Watches `container`; until SetBaseSize gives the base size every control keeps its place.
    explicit CFollowLayout(QWidget* container);

    /// The container's size at which every control stands where its form puts it.
    void SetBaseSize(const QSize& size);
    QSize BaseSize() const { return m_base; }
    /// `control` (a child of the container) follows; its present geometry is its form's.
    void Add(QWidget* control, const Follow& follow);
    /// Places every control for the container's present size.
    void Apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item {
        QPointer<QWidget> control;
        QRect form;
        Follow follow;
    };
    QWidget* m_container;
    QSize m_base;
    std::vector<Item> m_items;
};
