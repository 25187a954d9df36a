#pragma once
// A Prompter for tests: answers come from a queue, every box asked is recorded.
// It is the prompter of the run it is given for as long as it lives.
#include <QList>
#include <QString>
#include <QVariant>

#include "core/interfaces/prompter.h"

class RunContext;

class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QString what;   // "message", "ask" or "input"
        Kind kind = Kind::Plain;
        QString title;                      // input prompts only
        QString text;                       // message text or prompt text
        Default byDefault = Default::Yes;   // questions: the button Enter gives
    };

    explicit ScriptedPrompter(RunContext& run);   // becomes the run's prompter
    ~ScriptedPrompter() override;                 // gives the run back the one before

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
    std::optional<QString> input(const QString& title, const QString& prompt, const QString& initial) override;

private:
    RunContext& m_run;
    Prompter* m_before = nullptr;
    QList<QVariant> m_answers;
};
