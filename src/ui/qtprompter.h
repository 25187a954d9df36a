#pragma once
// The Prompter of the windows: real modal message boxes and input prompts,
// with French buttons, over the active window. The application gives its
// one QtPrompter to the run.
#include "core/interfaces/prompter.h"

class QtPrompter : public Prompter {
public:
    void message(Kind kind, const QString& text) override;
    bool ask(Kind kind, const QString& text, Default byDefault = Default::Yes) override;
    bool confirm(Kind kind, const QString& text, Default byDefault = Default::Yes) override;
    std::optional<QString> input(const QString& title, const QString& prompt, const QString& initial) override;
};
