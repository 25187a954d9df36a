#pragma once
// Message boxes and input prompts, as an interface: windows ask through the
// current Prompter, never through QMessageBox or QInputDialog directly. The Qt
// implementation shows real modal boxes; ScriptedPrompter (tests) answers from
// a queue and records what was asked.
#include <QString>
#include <optional>

class Prompter {
public:
    enum class Kind { Information, Confirmation, Warning, Error, Plain };
    virtual ~Prompter() = default;
    // A message with a single OK button.
    virtual void message(Kind kind, const QString& text) = 0;
    // A question with the buttons Oui and Non; true for Oui.
    virtual bool ask(Kind kind, const QString& text) = 0;
    // An input prompt with OK and Annuler; std::nullopt for Annuler.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& initial = QString()) = 0;
};

// The application's current prompter (a QtPrompter unless replaced).
Prompter& prompter();
// Replaces it; the caller keeps ownership and restores it (nullptr: Qt boxes).
void setPrompter(Prompter* p);

class QtPrompter : public Prompter {
public:
    void message(Kind kind, const QString& text) override;
    bool ask(Kind kind, const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial) override;
};
