#pragma once
// IconButton: a picture button with a hint (tool tip), reachable with the Tab
// key and pressed with the space bar, as every command of a window must be
// reachable without a mouse.
#include <QIcon>
#include <QToolButton>

class IconButton : public QToolButton {
    Q_OBJECT
public:
    explicit IconButton(const QIcon& icon, const QString& hint, QWidget* parent = nullptr);
    void setHint(const QString& hint);
    QString hint() const;
};
