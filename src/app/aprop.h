#pragma once
// TFAprop_gg: the About box. It shows the product name, the version and the
// author line, animates three pictures on its timer, and hands its two links
// (the web page, a new mail) to the desktop's "open" service through the
// opener it is given, so that tests can record the calls.
#include <QUrl>
#include <functional>

#include "ui/modalwindow.h"

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class Desktop;
class QToolButton;

class TFAprop_gg : public ModalWindow {
    Q_OBJECT
public:
    static const QString AdresseWeb;
    static const QString AdresseCourrier;   // mailto: with the subject "Nutrimo"

    // The addresses open with the desktop's program for them; its result is
    // ignored (no browser or mail program: nothing happens, nothing is shown).
    explicit TFAprop_gg(Desktop& desktop, QWidget* parent = nullptr);
    ~TFAprop_gg() override;

    // The animation starts from Image1 with a 3000 ms interval.
    bool FormShow() override;
    void FormClose() override;

    void Timer1Timer();
    void LURLClick();
    void SpeedButton1Click();

    QFrame* Panel1 = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Auteur = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLabel* LURL = nullptr;
    QPushButton* OKButton = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* image(const char* name, const QString& picture);
    Desktop& m_desktop;
};
