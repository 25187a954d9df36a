#include "core/session/session.h"

#include "core/dbf/datadir.h"

Session::Session(const QString& dataDir) {
    DataDir::set(dataDir);
    m_dataDir = DataDir::path();
}
