#include "core/io/runcontext.h"

RunContext::RunContext(DataDirectory dataDir, Prompter* prompter)
    : m_dataDir(std::move(dataDir)), m_prompter(prompter) {}
