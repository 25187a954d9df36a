#pragma once
// Message boxes and input prompts, as an interface: the program's logic asks
// through the Prompter of its run (RunContext), never through a widget. The
// application gives its run the Qt implementation (real modal boxes); tests
// give theirs a scripted one that answers from a queue and records what was
// asked.
#include <QString>
#include <optional>

class Prompter {
public:
    enum class Kind { Information, Confirmation, Warning, Error, Plain };
    // The button a question gives when Enter is pressed. A question whose Oui
    // destroys something defaults to Non, so that a stray Enter costs nothing.
    enum class Default { Yes, No };
    virtual ~Prompter() = default;
    // A message with a single OK button.
    virtual void message(Kind kind, const QString& text) = 0;
    // A question with the buttons Oui and Non; true for Oui.
    virtual bool ask(Kind kind, const QString& text, Default byDefault = Default::Yes) = 0;
    // A question with the buttons OK and Annuler; true for OK. Asked as ask()
    // by a prompter that has no such buttons.
    virtual bool confirm(Kind kind, const QString& text, Default byDefault = Default::Yes) {
        return ask(kind, text, byDefault);
    }
    // An input prompt with OK and Annuler; std::nullopt for Annuler.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& initial = QString()) = 0;
};

// The prompter of a run that has no window to ask through: messages are
// written to the log, questions answer Non and prompts Annuler, so that
// nothing is ever done without the user's consent.
class LogPrompter : public Prompter {
public:
    void message(Kind kind, const QString& text) override;
    bool ask(Kind kind, const QString& text, Default byDefault = Default::Yes) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial = QString()) override;
};
