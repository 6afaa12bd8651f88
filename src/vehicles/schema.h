#pragma once

#include <QStringList>

// The records database's tables, as each version of the tool left them. A
// file carries its version in SQLite's user_version and the tool's mark in
// application_id, so a database of another program is never taken for ours.
namespace recordschema {

// "GSEC" in the file header: this database belongs to the tool.
inline constexpr int ApplicationId = 0x47534543;
inline constexpr int LatestVersion = 3;

// The statements that take a file from version - 1 to version (1 creates
// the tables of a new file), user_version excluded; empty outside
// 1..LatestVersion.
QStringList upgradeTo(int version);

} // namespace recordschema
