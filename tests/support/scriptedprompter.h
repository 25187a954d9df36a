#pragma once
// A Prompter for tests: answers come from a queue, every box asked is recorded.
#include <QList>
#include <QString>
#include <QVariant>

#include "core/interfaces/prompter.h"

class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QString what;    // "message", "ask" or "input"
        Kind kind = Kind::Plain;
        QString title;   // input prompts only
        QString text;    // message text or prompt text
        Default byDefault = Default::Yes;   // questions: the button Enter gives
    };

    ScriptedPrompter();            // installs itself as the current prompter
    ~ScriptedPrompter() override;  // restores the Qt prompter

    // Queue answers: a bool for ask(), a QString for input() (a null QVariant
    // answers Annuler). With an empty queue ask() answers Non and input()
    // Annuler, and the call is counted in unexpected.
    void answer(bool yes);
    void answer(const QString& text);
    void cancel();

    QList<Asked> asked;
    int unexpected = 0;
    QString lastText() const { return asked.isEmpty() ? QString() : asked.last().text; }

    void message(Kind kind, const QString& text) override;
    bool ask(Kind kind, const QString& text, Default byDefault = Default::Yes) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial) override;

private:
    QList<QVariant> m_answers;
};
