#include "PipelineReport.h"

#include <unordered_map>

#include "script/kvtSQL_Exec.h"

namespace {

// What a statement does to its object, for the summary.
enum class TChangeAct { None, Create, Alter, Drop };

TChangeAct ActOf(const TStatement& st) {
  if (st.Kind == skComment || st.Kind == skCommit) return TChangeAct::None;
  switch (st.Action) {
    case saCreate:
    case saCreateEmpty:
      return TChangeAct::Create;
    case saDrop:
    case saEmptyBeforeDrop:
      return TChangeAct::Drop;
    case saAlter:
    case saEmptyBody:
    case saRestoreBody:
    case saDescription:
    case saInsert:
    case saUpdate:
    case saDelete:
      return TChangeAct::Alter;
    default:
      return TChangeAct::None;
  }
}

// Names as the statements carry them, quotes removed: drop statements name
// an object plainly, create statements sometimes quoted and qualified.
std::string Unquoted(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name)
    if (c != '"' && c != '`' && c != '[' && c != ']') out += c;
  return out;
}

// The part of a name after its schema, which identifies the object within
// its kind.
std::string LocalName(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(dot + 1);
}

// Kinds that share one name space in the summary (all key types are
// constraints; a procedure statement may say function).
int KindGroup(TDbObject kind) {
  switch (kind) {
    case dboConstraint:
    case dboPKey:
    case dboFKey:
    case dboUnique:
    case dboCheck:
    case dboReferences:
    case dboCtrDefault:
      return dboConstraint;
    default:
      return kind;
  }
}

std::string IdentityKey(TDbObject kind, const std::string& parent, const std::string& name) {
  return std::to_string(KindGroup(kind)) + '\x01' + LocalName(Unquoted(parent)) + '\x01' +
         LocalName(Unquoted(name));
}

std::string QualifiedName(const std::string& parent, const std::string& name) {
  const std::string n = Unquoted(name);
  return parent.empty() ? n : LocalName(Unquoted(parent)) + "." + n;
}

const char* PastTense(const std::string& action) {
  if (action == "create") return "created";
  if (action == "drop") return "dropped";
  if (action == "recreate") return "recreated";
  return "altered";
}

std::string TrimmedText(const TStatement& st) {
  std::string text = st.GetText();
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  text = text.substr(b, e - b);
  // One form of line break, whatever the script's line ends are.
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

void AppendJsonString(std::string& out, const std::string& text) {
  static const char* const kHex = "0123456789abcdef";
  out += '"';
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += ch;  // bytes above 127 pass as they are: the script's own 8-bit text
        }
    }
  }
  out += '"';
}

}  // namespace

std::string KindWord(TDbObject kind) {
  switch (kind) {
    case dboTable: return "table";
    case dboProcedure: return "procedure";
    case dboTrigger: return "trigger";
    case dboFunction: return "external function";
    case dboException: return "exception";
    case dboIndex: return "index";
    case dboDomain: return "domain";
    case dboView: return "view";
    case dboGenerator: return "generator";
    case dboEvent: return "event";
    case dboField: return "column";
    case dboParam: return "parameter";
    case dboCollation: return "collation";
    case dboConstraint: return "constraint";
    case dboPKey: return "primary key";
    case dboFKey: return "foreign key";
    case dboUnique: return "unique constraint";
    case dboCheck: return "check constraint";
    case dboReferences: return "reference";
    case dboCtrDefault: return "default constraint";
    case dboRole: return "role";
    case dboGrant: return "grant";
    case dboRule: return "rule";
    case dboDefault: return "default";
    case dboPackage: return "package";
    case dboPackageBody: return "package body";
    case dboPublication: return "publication";
    case dboSchema: return "schema";
    case dboOperator: return "operator";
    case dboOperatorClass: return "operator class";
    case dboConversion: return "conversion";
    case dboUser: return "user";
    default: return "object";
  }
}

std::vector<TChangeEntry> SummarizeChanges(const TCustomSQLExec& exec) {
  std::vector<TChangeEntry> changes;
  struct TState {
    bool Create = false, Alter = false, Drop = false;
  };
  std::vector<TState> states;
  std::unordered_map<std::string, size_t> byKey;
  for (size_t i = 0; i < exec.Statements.size(); ++i) {
    const TStatement& st = *exec.Statements[i];
    const TChangeAct act = ActOf(st);
    if (act == TChangeAct::None || st.ObjName.empty()) continue;
    const std::string key = IdentityKey(st.ObjType, st.ParentName, st.ObjName);
    auto [it, added] = byKey.emplace(key, changes.size());
    if (added) {
      TChangeEntry e;
      e.Kind = KindWord(st.ObjType);
      e.Name = QualifiedName(st.ParentName, st.ObjName);
      changes.push_back(std::move(e));
      states.emplace_back();
    }
    TChangeEntry& e = changes[it->second];
    TState& s = states[it->second];
    // The longest spelling names the object best (it carries its schema).
    const std::string name = QualifiedName(st.ParentName, st.ObjName);
    if (name.size() > e.Name.size()) e.Name = name;
    e.Statements.push_back(i);
    s.Create |= act == TChangeAct::Create;
    s.Alter |= act == TChangeAct::Alter;
    s.Drop |= act == TChangeAct::Drop;
  }
  for (size_t i = 0; i < changes.size(); ++i) {
    const TState& s = states[i];
    changes[i].Action = s.Drop && s.Create ? "recreate" : s.Create ? "create" : s.Drop ? "drop"
                                                                                    : "alter";
  }
  // Reasons: the cause of the entry's first forced statement, with what the
  // script does to that cause.
  for (TChangeEntry& e : changes) {
    for (size_t i : e.Statements) {
      const TStatement& st = *exec.Statements[i];
      if (st.CauseName.empty()) continue;
      const std::string causeName = QualifiedName(st.CauseParent, st.CauseName);
      auto it = byKey.find(IdentityKey(st.CauseKind, st.CauseParent, st.CauseName));
      const std::string what = it == byKey.end() ? "changed" : PastTense(changes[it->second].Action);
      e.Reason = KindWord(st.CauseKind) + " " + causeName + " " + what;
      break;
    }
  }
  return changes;
}

std::string FormatSummaryText(const std::vector<TChangeEntry>& changes, bool crlf) {
  const char* eol = crlf ? "\r\n" : "\n";
  std::string out;
  for (const TChangeEntry& e : changes) {
    out += e.Kind + " " + e.Name + " " + PastTense(e.Action);
    if (!e.Reason.empty()) out += ": " + e.Reason;
    out += eol;
  }
  return out;
}

std::string FormatSummaryJson(const std::vector<TChangeEntry>& changes,
                              const TCustomSQLExec& exec, bool crlf) {
  const std::string eol = crlf ? "\r\n" : "\n";
  std::string out = "[";
  for (size_t n = 0; n < changes.size(); ++n) {
    const TChangeEntry& e = changes[n];
    out += n ? "," + eol + "  {" : eol + "  {";
    out += "\"action\": ";
    AppendJsonString(out, e.Action);
    out += ", \"kind\": ";
    AppendJsonString(out, e.Kind);
    out += ", \"name\": ";
    AppendJsonString(out, e.Name);
    out += ", \"reason\": ";
    AppendJsonString(out, e.Reason);
    out += ", \"statements\": [";
    for (size_t k = 0; k < e.Statements.size(); ++k) {
      if (k) out += ", ";
      AppendJsonString(out, TrimmedText(*exec.Statements[e.Statements[k]]));
    }
    out += "]}";
  }
  out += changes.empty() ? "]" + eol : eol + "]" + eol;
  return out;
}

std::string DataLossReason(const TStatement& st) {
  if (!st.DataRisk.empty()) return st.DataRisk;
  if (st.Action != saDrop || st.Kind == skComment) return std::string();
  switch (st.ObjType) {
    case dboTable:
      return "it drops table " + Unquoted(st.ObjName) + " and its rows";
    case dboField:
      return "it drops column " + QualifiedName(st.ParentName, st.ObjName) + " and its data";
    default:
      return std::string();
  }
}

std::vector<const TChangeEntry*> EntriesByStatement(const std::vector<TChangeEntry>& changes,
                                                    size_t statementCount) {
  std::vector<const TChangeEntry*> entries(statementCount, nullptr);
  for (const TChangeEntry& e : changes)
    for (size_t i : e.Statements)
      if (i < statementCount) entries[i] = &e;
  return entries;
}

std::string ExplainStatement(const TStatement& st, const TChangeEntry* entry) {
  const char* verb = nullptr;
  switch (ActOf(st)) {
    case TChangeAct::Drop: verb = "Dropped"; break;
    case TChangeAct::Create: verb = "Created"; break;
    case TChangeAct::Alter: verb = st.Action == saEmptyBody ? "Emptied" : "Altered"; break;
    case TChangeAct::None: return std::string();
  }
  const std::string object = KindWord(st.ObjType) + " " + QualifiedName(st.ParentName, st.ObjName);
  if (!st.CauseName.empty())
    return std::string(verb) + " " + object + " for " + KindWord(st.CauseKind) + " " +
           QualifiedName(st.CauseParent, st.CauseName);
  // The creation that brings back an object dropped for another one.
  if (ActOf(st) == TChangeAct::Create && entry && entry->Action == "recreate" &&
      !entry->Reason.empty())
    return "Created again " + object + ": " + entry->Reason;
  return std::string();
}
