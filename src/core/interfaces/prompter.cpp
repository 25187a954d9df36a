#include "core/interfaces/prompter.h"

#include <QtDebug>

namespace {
Prompter* g_current = nullptr;
Prompter* g_default = nullptr;

// Used only when no window layer is there to ask the user.
class LogPrompter : public Prompter {
public:
    void message(Kind, const QString& text) override { qWarning().noquote() << text; }
    bool ask(Kind, const QString& text, Default = Default::Yes) override {
        qWarning().noquote() << text << "-> Non";
        return false;
    }
    std::optional<QString> input(const QString&, const QString& prompt, const QString&) override {
        qWarning().noquote() << prompt << "-> Annuler";
        return std::nullopt;
    }
};
}  // namespace

Prompter& prompter() {
    static LogPrompter log;
    if (g_current) return *g_current;
    if (g_default) return *g_default;
    return log;
}

void setPrompter(Prompter* p) { g_current = p; }
void setDefaultPrompter(Prompter* p) { g_default = p; }
bool hasDefaultPrompter() { return g_default != nullptr; }
