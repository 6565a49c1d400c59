// The update script as the target server's own command-line client runs it.
//
// The plain rendering ends every statement in ";", which a client such as
// Firebird's isql or the mysql/mariadb client takes for the end of a
// statement even inside a procedure body. The runnable rendering wraps each
// statement that holds a body in a change of the client's terminator:
//
//   InterBase/Firebird (isql)        MySQL/MariaDB (mysql, mariadb)
//   SET TERM ^ ;                     DELIMITER $$
//   CREATE PROCEDURE ... END^        CREATE PROCEDURE ... END$$
//   SET TERM ; ^                     DELIMITER ;
//
// Every other statement is rendered exactly as in the plain script.
#pragma once

#include <string>

#include "core/kvtTypes.h"

class TCustomSQLExec;
class TStatement;

// Whether the runnable rendering exists for scripts of this dialect
// (InterBase/Firebird and MySQL).
bool RunnableScriptSupported(TServerType dialect);

// The client's short terminator for body statements ("^" for isql, "$$" for
// the mysql client), and the lines that switch to a terminator and back.
const char* BaseTerminator(TServerType dialect);
std::string OpenTerminator(TServerType dialect, const std::string& term);
std::string CloseTerminator(TServerType dialect, const std::string& term);

// Whether the statement's text holds a body whose inner ";" would end it too
// early: procedures, functions, triggers and packages (by statement kind, which
// covers their empty stubs and restored bodies), and EXECUTE BLOCK, recognised
// by its first two words because the statement list may hold it as a plain
// statement.
bool StatementHoldsBody(const TStatement& st);

// The terminator that ends a body statement: `base` ("^" or "$$"), or that
// text with its last character repeated as often as needed for the terminator
// not to occur in `text` (a Firebird body may hold "^=", a MySQL one "$$" in
// a string).
std::string ChooseTerminator(const std::string& text, const std::string& base);

// The rendered script with body statements wrapped for the client of
// `dialect`; one line per entry, each ended by LF or CR LF. A dialect without
// a runnable rendering gets the plain script.
std::string RenderRunnableScriptText(TCustomSQLExec& exec, TServerType dialect, bool crlf);
