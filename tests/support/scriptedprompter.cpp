#include "support/scriptedprompter.h"

#include "core/io/runcontext.h"

ScriptedPrompter::ScriptedPrompter(RunContext& run) : m_run(run), m_before(run.setPrompter(this)) {}
ScriptedPrompter::~ScriptedPrompter() { m_run.setPrompter(m_before); }

void ScriptedPrompter::answer(bool yes) { m_answers.append(QVariant(yes)); }
void ScriptedPrompter::answer(const QString& text) { m_answers.append(QVariant(text)); }
void ScriptedPrompter::cancel() { m_answers.append(QVariant()); }

void ScriptedPrompter::message(Kind kind, const QString& text) {
    asked.append({QStringLiteral("message"), kind, QString(), text});
}

bool ScriptedPrompter::ask(Kind kind, const QString& text, Default byDefault) {
    asked.append({QStringLiteral("ask"), kind, QString(), text, byDefault});
    if (m_answers.isEmpty()) {
        ++unexpected;
        return false;
    }
    const QVariant a = m_answers.takeFirst();
    return a.typeId() == QMetaType::Bool ? a.toBool() : false;
}

std::optional<QString> ScriptedPrompter::input(const QString& title, const QString& prompt, const QString&) {
    asked.append({QStringLiteral("input"), Kind::Plain, title, prompt});
    if (m_answers.isEmpty()) {
        ++unexpected;
        return std::nullopt;
    }
    const QVariant a = m_answers.takeFirst();
    if (!a.isValid() || a.typeId() != QMetaType::QString) return std::nullopt;
    return a.toString();
}
