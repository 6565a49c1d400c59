#include "script/kvtSQL_Exec.h"

#include "core/kvtClasses.h"
#include "core/kvtDBOptions.h"

namespace {

// Splits at CR LF, CR and LF, each ending one line. A text that ends in a line
// break has no empty line after it; the empty text has no lines.
TStringList SplitLines(const std::string& text) {
  TStringList lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text, start, i - start);
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text, start, text.size() - start);
  return lines;
}

// Leading and trailing blanks and control characters (line breaks included) removed.
std::string TrimControls(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

// Cuts the text at every CR LF and appends each piece, including the piece
// after the last CR LF (empty when the text ends in CR LF).
void Emit(TStringList& lines, const std::string& text) {
  size_t start = 0;
  for (;;) {
    const size_t pos = text.find("\r\n", start);
    if (pos == std::string::npos) {
      lines.emplace_back(text, start, std::string::npos);
      return;
    }
    lines.emplace_back(text, start, pos - start);
    start = pos + 2;
  }
}

const char* const kStatementEnd = ";\r\n";

}  // namespace

std::string TStatement::GetText() const {
  std::string text;
  for (const std::string& line : Lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

TCustomSQLExec::~TCustomSQLExec() = default;

void TCustomSQLExec::DoLogLine(const std::string& text) {
  if (OnLogNextLine) OnLogNextLine(this, text);
}

void TCustomSQLExec::DoProgress(int value, int maxValue) {
  if (OnProgressUpdate) OnProgressUpdate(this, value, maxValue);
}

void TCustomSQLExec::DoError(const std::string& text) {
  if (OnErrorMessage)
    OnErrorMessage(this, text);
  else
    ShowErrorText(text);
  Messages.Add(text, mkError);
}

std::unique_ptr<TStatement> TCustomSQLExec::CreateStatement() {
  return std::make_unique<TStatement>(this);
}

void TCustomSQLExec::SetCurrentSchema(const std::string& text) { CurrentSchema = text; }

TStatement* TCustomSQLExec::AddStatement(const std::string& sql, TStatementKind kind,
                                         const std::string& objName, TDbObject objType,
                                         uint8_t action, const std::string& parentName,
                                         const std::string& terminator) {
  if (sql.empty() && kind != skComment) return nullptr;
  std::unique_ptr<TStatement> st = CreateStatement();
  st->Lines = SplitLines(sql);
  st->Kind = kind;
  st->ObjName = objName;
  st->ObjType = objType;
  st->Action = action;
  st->ParentName = parentName;
  st->LineCount = static_cast<int32_t>(st->Lines.size());
  if (!terminator.empty())
    st->Terminator = terminator;
  else if (kind != skComment)
    st->Terminator = kStatementEnd;
  if (!Causes.empty() && kind != skComment) {
    const TCause& c = Causes.back();
    if (c.Name != objName || c.Kind != objType || c.Parent != parentName) {
      st->CauseName = c.Name;
      st->CauseParent = c.Parent;
      st->CauseKind = c.Kind;
    }
  }
  Statements.push_back(std::move(st));
  return Statements.back().get();
}

TCauseScope::TCauseScope(TCustomSQLExec* exec, const TDbObj& obj) : Exec(exec) {
  if (!Exec) return;
  Exec->Causes.push_back(TCustomSQLExec::TCause{
      obj.Name.empty() ? obj.AutoName : obj.Name,
      obj.IsColumn() ? obj.GetParentName() : std::string(), obj.ObjType});
}

TCauseScope::~TCauseScope() {
  if (Exec && !Exec->Causes.empty()) Exec->Causes.pop_back();
}

TStatement* TCustomSQLExec::AddComment(const std::string& text) {
  return AddStatement(text, skComment, "/*  */", dboUnknown, saComment);
}

void TCustomSQLExec::Clear() {
  Statements.clear();
  Causes.clear();
}

void TCustomSQLExec::DeleteStatement(int index) {
  if (index >= 0 && index < Count()) Statements.erase(Statements.begin() + index);
}

TStatement* TCustomSQLExec::AddDescription(TDbObj* obj) {
  if (!obj) return nullptr;
  const std::string sql = obj->GetDescriptionSQL();
  if (sql.empty()) return nullptr;
  std::string parent;
  if (obj->ObjType == dboField || obj->ObjType == dboParam) {
    if (TDbObj* owner = obj->IsFieldObject() ? obj->GetParentObj() : nullptr) {
      const TDbObject ownerKind = owner->ObjType;
      if (ownerKind == dboTable || ownerKind == dboView || ownerKind == dboProcedure)
        parent = owner->Name;
    }
  }
  TStatement* st = AddStatement(sql, skDescription, obj->Name, obj->ObjType, saDescription, parent);
  if (st) st->Description = obj->Description;
  return st;
}

void TCustomSQLExec::RenderScript(TStringList& lines, bool recordPositions) {
  for (const auto& st : Statements) {
    if (recordPositions) st->FirstLine = static_cast<int32_t>(lines.size());
    const std::string text = TrimControls(st->GetText());
    switch (st->Kind) {
      case skProcedure:
      case skTrigger:
      case skPackage:
      case skDescription:
        Emit(lines, text + kStatementEnd);
        continue;
      default:
        break;
    }
    if (st->Kind == skStatement && st->ObjType == dboPackage && st->Action == saCreate) {
      Emit(lines, text + kStatementEnd);
    } else if (st->ObjType == dboView) {
      Emit(lines, text);
      Emit(lines, kStatementEnd);
    } else {
      switch (st->Kind) {
        case skConnect:
        case skCreateDb:
        case skSet:
        case skStatement:
        case skSetNames:
        case skCharSet:
        case skSqlDialect:
          Emit(lines, text + st->Terminator);
          break;
        case skReConnect:
        case skBlobFile:
        case skInsert:
        case skUpdate:
        case skDelete:
          Emit(lines, text + kStatementEnd);
          break;
        default:  // Commit, Comment, Select, ExecuteBlock
          Emit(lines, text);
          break;
      }
    }
  }
}

TStatement* TCustomSQLExec::GetStatement(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Statements[static_cast<size_t>(index)].get();
}

TSQLExec::TSQLExec()
    : ConnectionOptions(std::make_unique<TConnectionOptions>()),
      IBOptions(std::make_unique<TIBSQLExecOptions>()),
      ASAOptions(std::make_unique<TASAServerOptions>()),
      ASEOptions(std::make_unique<TASEServerOptions>()),
      MySQLOptions(std::make_unique<TMySQLServerOptions>()),
      MSSQLOptions(std::make_unique<TMSSQLServerOptions>()),
      OracleOptions(std::make_unique<TOracleServerOptions>()),
      PGSQLOptions(std::make_unique<TPGSQLServerOptions>()),
      DB2Options(std::make_unique<TDB2ServerOptions>()) {}

TSQLExec::~TSQLExec() = default;

void TSQLExec::Clear() {
  TCustomSQLExec::Clear();
  ConnectionOptions->Clear();
  IBOptions->Clear();
  ASAOptions->Clear();
  ASEOptions->Clear();
  MySQLOptions->Clear();
  MSSQLOptions->Clear();
  OracleOptions->Clear();
  PGSQLOptions->Clear();
  DB2Options->Clear();
}
