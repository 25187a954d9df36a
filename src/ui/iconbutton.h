#pragma once
// IconButton: a picture button with a hint (tool tip), reachable with the Tab
// key and pressed with the space bar, as every command of a window must be
// reachable without a mouse. A command that has keys of its own shows them
// in its hint, "Voir en détail un aliment (Ctrl+D)", so that the mouse
// teaches the keyboard.
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QToolButton>

class IconButton : public QToolButton {
    Q_OBJECT
public:
    explicit IconButton(const QIcon& icon, const QString& hint, QWidget* parent = nullptr);
    // The hint, and the key that runs the same command (none: no key shown).
    void setHint(const QString& hint, const QKeySequence& key = QKeySequence());
    // The hint without its keys.
    QString hint() const;

    // A hint followed by its keys in the system's words: "Suivant (PgDown, Ctrl+Down)".
    static QString bulle(const QString& hint, const QList<QKeySequence>& keys);

private:
    QString m_hint;
};
