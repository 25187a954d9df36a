#pragma once
// The help viewer: a window of its own, not modal, showing one topic of the
// help file at a time beside the index of every topic. Links between topics
// are followed inside the viewer; Précédent and Suivant walk its history.
//
// The viewer is used from any window: when a modal window is on screen, it
// is made a window of that modal window, so that it is not blocked by it and
// stays usable while the modal window is open.
#include <QWidget>

#include "app/helpdocument.h"

class Desktop;
class QListWidget;
class QPushButton;
class QTextBrowser;

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // The help file of the desktop's run; links to the web open on the desktop.
    explicit HelpViewer(Desktop& desktop, QWidget* parent = nullptr);

    // Reads the run's help file again and shows the topic.
    void showContext(int context);
    int currentContext() const { return m_current; }
    const HelpDocument& document() const { return m_doc; }
    QTextBrowser* browser() const { return m_browser; }
    QListWidget* index() const { return m_index; }

    // Makes it the help viewer of the desktop: the first request creates it;
    // each request brings it to the front on the asked topic. Outside any
    // modal window it belongs to the main window, so that closing the main
    // window still ends the program while the viewer is open.
    static void install(Desktop& desktop, QWidget* mainWindow = nullptr);
    static HelpViewer* of(const Desktop& desktop);   // nullptr until the first request

protected:
    // Escape closes the viewer, as it closes the program's dialogs.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void display(int context, bool record);
    void fillIndex();
    void linkClicked(const QUrl& url);

    Desktop& m_desktop;
    HelpDocument m_doc;
    QListWidget* m_index = nullptr;
    QTextBrowser* m_browser = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QList<int> m_history;
    int m_position = -1;
    int m_current = -1;
};
