// The tables of the settings database and their version. A database is
// created at the current version; one written by a newer engine is refused
// rather than misread.
#pragma once

#include <sqlite3.h>

#include <string>

namespace ixo::system {

// Stored in PRAGMA user_version; 0 is a database with no tables yet.
inline constexpr int kSettingsSchemaVersion = 1;

// Creates the tables and the five roots when the database is new. False with
// the reason in error when it cannot, or when the version is unknown.
bool PrepareSettingsSchema(sqlite3* connection, std::string& error);

}  // namespace ixo::system
