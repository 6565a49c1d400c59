// The opening of the update script: what the target server needs before the
// first object statement (connection, character set and dialect settings,
// comments describing the target database, database-level options), and the
// change of the InterBase/Firebird default character set.
#pragma once

class TCustomSQLExec;
class TObjs;

// Appends the header statements for the target container's server type.
// `compareASEDBOptions` is the comparer's ASE compare option CompareDBOptions.
void WriteScriptHeaderStatements(TCustomSQLExec& exec, TObjs& master, TObjs& target,
                                 bool compareASEDBOptions);

// InterBase/Firebird target: aligns the database default character set with
// the master's when the two differ. The caller checks the target's server
// type and the DbCharsetCompare option.
void WriteDatabaseCharsetUpdate(TCustomSQLExec& exec, TObjs& master, TObjs& target);
