#include "core/session/session.h"

#include "core/schema/schema.h"

Session::Session(DataDirectory dataDir, Prompter* prompter) : m_run(std::move(dataDir), prompter) {
    m_run.setHelpFile(FileNames::aide());
}

Session::Session(const QString& dataDir, Prompter* prompter) : Session(DataDirectory(dataDir), prompter) {}
