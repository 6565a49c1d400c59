#include "extract/kvtCustomScriptExtract.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/kvtClasses.h"
#include "core/kvtDBOptions.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Def.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Exc.h"
#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Opr.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Rul.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "parse/kvtParser.h"

// ===========================================================================
// Name patterns and file wildcards

bool MatchObjectNamePattern(const std::string& name, const std::string& pattern) {
  std::string p = pattern;
  std::replace(p.begin(), p.end(), '*', '%');
  if (p.size() < 2 || std::count(p.begin(), p.end(), '%') != 1) return false;
  if (p.back() == '%') return name.rfind(p.substr(0, p.size() - 1), 0) == 0;
  if (p.front() == '%') {
    const std::string tail = p.substr(1);
    const size_t at = name.find(tail);
    return at != std::string::npos && at + tail.size() == name.size();
  }
  return false;
}

namespace {

#ifdef _WIN32
constexpr const char* PathSeparators = "/\\:";
inline char FoldFileChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
#else
constexpr const char* PathSeparators = "/";
inline char FoldFileChar(char c) { return c; }
#endif

bool HasWildcards(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

}  // namespace

bool MatchFileNameWildcard(const std::string& name, const std::string& mask) {
  // Greedy walk with one backtrack point (the last "*"): linear in practice,
  // never worse than name length times mask length.
  size_t n = 0, m = 0;
  size_t starM = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (m < mask.size() &&
               (mask[m] == '?' || FoldFileChar(mask[m]) == FoldFileChar(name[n]))) {
      ++m;
      ++n;
    } else if (starM != std::string::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

TStringList ExpandFileNameWildcards(const std::string& name) {
  namespace fs = std::filesystem;
  TStringList result;
  if (name.empty()) return result;
  try {
    std::error_code ec;
    const size_t cut = name.find_last_of(PathSeparators);
    const std::string dirPart = cut == std::string::npos ? std::string() : name.substr(0, cut + 1);
    const std::string mask = cut == std::string::npos ? name : name.substr(cut + 1);
    if (mask.empty()) return result;
    if (!HasWildcards(mask)) {
      if (fs::exists(fs::path(name), ec) && !ec) result.push_back(name);
      return result;
    }
    const fs::path dir = dirPart.empty() ? fs::path(".") : fs::path(dirPart);
    fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec);
    if (ec) return result;
    TStringList entries;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
      if (ec) break;
      std::string entry = it->path().filename().string();
      if (MatchFileNameWildcard(entry, mask)) entries.push_back(std::move(entry));
    }
    // Directory order is arbitrary; keep the load order reproducible.
    std::sort(entries.begin(), entries.end());
    result.reserve(entries.size());
    for (const std::string& e : entries) result.push_back(dirPart + e);
  } catch (const std::exception&) {
    // Out of memory or an unreadable path: the name yields nothing.
  }
  return result;
}

// ===========================================================================
// TCustomExtract

TCustomExtract::TCustomExtract() : Messages(std::make_unique<TMsgManager>()) {}

TCustomExtract::~TCustomExtract() { Detach(); }

void TCustomExtract::SetOnProgressUpdate(const TProgressUpdateEvent& value) {
  OnProgressUpdate = value;
}

void TCustomExtract::SetOnErrorMessage(const TErrorMessageEvent& value) { OnErrorMessage = value; }

void TCustomExtract::SetOnLogNextLine(const TLogNextLineEvent& value) { OnLogNextLine = value; }

void TCustomExtract::Detach() {
  TCustomDBStructure* old = DBStructure;
  DBStructure = nullptr;
  if (old && old->Extractor == this) {
    old->Extractor = nullptr;
    if (TObjs* objs = old->Objs) {
      if (objs->Extractor == this) objs->Extractor = nullptr;
      objs->OnAcceptObject = nullptr;
    }
  }
}

void TCustomExtract::SetDBStructure(TCustomDBStructure* s) {
  Detach();
  if (!s) return;
  // Taking a structure over from another extractor ends that one's attachment.
  if (s->Extractor && s->Extractor != this) s->Extractor->StructureDetached(s);
  DBStructure = s;
  s->Extractor = this;
  if (TObjs* objs = s->Objs) {
    objs->Extractor = this;
    // Safe to bind `this`: Detach removes the handler before the extractor
    // goes, and the container never outlives its structure.
    objs->OnAcceptObject = [this](void*, TDbObj* obj, bool& accept) {
      accept = AcceptObject(obj);
    };
  }
}

void TCustomExtract::StructureDetached(TCustomDBStructure* structure) {
  if (structure == DBStructure) DBStructure = nullptr;
}

void TCustomExtract::DoProgress(int value, int maxValue) {
  if (OnProgressUpdate) OnProgressUpdate(this, value, maxValue);
}

TMsgManager* TCustomExtract::GetMessages() { return Messages.get(); }

void TCustomExtract::DoDebugMessage(const std::string& text) {
  if (OnDebugMessage) OnDebugMessage(this, text);
}

void TCustomExtract::DoLogLine(const std::string& text) {
  if (OnLogNextLine) OnLogNextLine(this, text);
}

void TCustomExtract::LogServerVersion() {
  if (!DBStructure || !DBStructure->Objs) return;
  const std::string text = DBStructure->Objs->GetServerVersionText();
  if (!text.empty()) DoLogLine(text);
}

void TCustomExtract::DoError(const std::string& text) {
  if (OnErrorMessage)
    OnErrorMessage(this, text);
  else
    ShowErrorText(text);
  Messages->Add(text, mkError, nullptr);
}

bool TCustomExtract::Extract() {
  Messages->Clear();
  return false;
}

bool TCustomExtract::IsObjectAccepted(const std::string& name, TDbObject kind) {
  bool accepted = std::none_of(ExcludeObjsNames.begin(), ExcludeObjsNames.end(),
                               [&](const std::string& p) { return MatchObjectNamePattern(name, p); });
  if (accepted && !IncludeObjsNames.empty())
    accepted = std::any_of(IncludeObjsNames.begin(), IncludeObjsNames.end(),
                           [&](const std::string& p) { return MatchObjectNamePattern(name, p); });
  if (OnAcceptObj) OnAcceptObj(this, name, kind, accepted);
  return accepted;
}

bool TCustomExtract::AcceptObject(TDbObj* obj) {
  if (!obj) return false;
  if (OnAccept_Obj) {
    bool accept = true;
    OnAccept_Obj(this, obj, accept);
    return accept;
  }
  // Kind by the object's list: indexes and constraints follow their table.
  TDbObject kind;
  switch (obj->GetListId()) {
    case olDmn: kind = dboDomain; break;
    case olFnc: kind = dboFunction; break;
    case olGnr: kind = dboGenerator; break;
    case olTbl: kind = dboTable; break;
    case olViw: kind = dboView; break;
    case olTrg: kind = dboTrigger; break;
    case olPrc: kind = dboProcedure; break;
    case olExc: kind = dboException; break;
    case olDef: kind = dboDefault; break;
    case olRul: kind = dboRule; break;
    case olPkg: kind = dboPackage; break;
    case olRol: kind = dboRole; break;
    case olPbl: kind = dboPublication; break;
    case olSch: kind = dboSchema; break;
    case olOpr: kind = dboOperator; break;
    case olOpc: kind = dboOperatorClass; break;
    case olCnv: kind = dboConversion; break;
    case olEvt: kind = dboEvent; break;
    case olClt: kind = dboCollation; break;
    case olIdx:
    case olCtr:
      return IsObjectAccepted(obj->GetParentName(), dboTable);
    default:
      return true;  // grants and objects outside the lists
  }
  return IsObjectAccepted(obj->Name, kind);
}

bool TCustomExtract::AddParsedObject(std::unique_ptr<TDbObj>& obj) {
  if (!obj) return false;
  TObjs* objs = DBStructure ? DBStructure->Objs : nullptr;
  if (!objs) {
    obj.reset();
    return false;
  }
  // The container asks this extractor (IsObjectAccepted, then AcceptObject,
  // which has the last word) and frees what is rejected. Judging by the
  // object's own name first would lose indexes and constraints whose names
  // miss the patterns although their table is wanted.
  return objs->AddObj(obj, true);
}

// ===========================================================================
// TCustomScriptExtract

TCustomScriptExtract::TCustomScriptExtract() = default;

TCustomScriptExtract::~TCustomScriptExtract() { Parser.reset(); }

TObjs* TCustomScriptExtract::AttachedObjs() const {
  return GetDBStructure() ? GetDBStructure()->Objs : nullptr;
}

void TCustomScriptExtract::SetOnErrorMessage(const TErrorMessageEvent& value) {
  TCustomExtract::SetOnErrorMessage(value);
  if (Parser) Parser->OnErrorMessage = value;
}

void TCustomScriptExtract::SetDBStructure(TCustomDBStructure* s) {
  Parser.reset();
  TCustomExtract::SetDBStructure(s);
  if (!GetDBStructure()) return;
  Parser = CreateParser();
  if (Parser) {
    Parser->OnErrorMessage = OnErrorMessage;
    Parser->OnLogNextLine = OnLogNextLine;
    Parser->OnDebugMessage = OnDebugMessage;
    Parser->OnProgressUpdate = OnProgressUpdate;
  }
}

void TCustomScriptExtract::StructureDetached(TCustomDBStructure* structure) {
  // The parser points at the structure's container.
  if (structure == GetDBStructure()) Parser.reset();
  TCustomExtract::StructureDetached(structure);
}

std::unique_ptr<TCustomParser> TCustomScriptExtract::CreateParser() {
  if (!GetDBStructure()) return nullptr;
  return std::make_unique<TCustomParser>(this, AttachedObjs());
}

std::unique_ptr<TCustomParser> TCustomScriptExtract::CreateGenericSQLParser(TServerType type) {
  if (!GetDBStructure()) return nullptr;
  auto parser = std::make_unique<TCustomSQLParser>(this, AttachedObjs());
  // Only the parser's own dialect: SetServerType would also retype the
  // container, which Extract does when it starts.
  parser->ServerType = type;
  return parser;
}

TMsgManager* TCustomScriptExtract::GetMessages() {
  // The extractor's own errors (missing files, empty list) must reach the host
  // along with the parse errors, or a failed extraction would look clean.
  AllMessages.Clear();
  AllMessages.AppendFrom(Messages.get());
  if (Parser) AllMessages.AppendFrom(Parser->Messages.get());
  return &AllMessages;
}

void TCustomScriptExtract::SetScriptFileName(const std::string& value) {
  ScriptFileName = value;
  ScriptFiles.clear();
  TStringList names;
  if (!value.empty() && value.front() == '"' && value.find(' ') != std::string::npos) {
    // A list of quoted names; text outside quotes is ignored and a name left
    // open at the end is dropped.
    size_t i = 0;
    while (true) {
      const size_t open = value.find('"', i);
      if (open == std::string::npos) break;
      const size_t close = value.find('"', open + 1);
      if (close == std::string::npos) break;
      names.push_back(value.substr(open + 1, close - open - 1));
      i = close + 1;
    }
  } else if (!value.empty()) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      names.push_back(value.substr(1, value.size() - 2));
    else
      names.push_back(value);
  }
  for (const std::string& n : names) {
    TStringList found = ExpandFileNameWildcards(n);
    ScriptFiles.insert(ScriptFiles.end(), found.begin(), found.end());
  }
}

void TCustomScriptExtract::PrepareExtract() {
  if (TObjs* objs = AttachedObjs()) objs->ConnectionOptions->Clear();
  LogServerVersion();
}

bool TCustomScriptExtract::Extract() {
  Messages->Clear();
  try {
    return RunExtract();
  } catch (const std::exception& e) {
    const std::string text = std::string("Extraction failed: ") + e.what();
    try {
      DoError(text);
    } catch (...) {
      Messages->Add(text, mkError, nullptr);
    }
  } catch (...) {
    try {
      DoError("Extraction failed.");
    } catch (...) {
      Messages->Add("Extraction failed.", mkError, nullptr);
    }
  }
  return false;
}

bool TCustomScriptExtract::RunExtract() {
  const std::string self = std::string("(") + ClassName() + ") " + Name;
  if (!GetDBStructure()) {
    DoError("DBStructure not assigned. " + self);
    return false;
  }
  bool result = true;
  GetDBStructure()->Clear();
  ScriptTexts.clear();
  if (Parser) {
    Parser->Messages->Clear();
    // Keeps a handler assigned straight to the field in step with the parser.
    Parser->OnErrorMessage = OnErrorMessage;
  }
  TObjs* objs = AttachedObjs();
  if (objs) objs->SetServerType(ServerType);
  PrepareExtract();
  if (ScriptFiles.empty()) {
    DoError("ScriptFileName(s) is empty. " + self);
    return false;
  }
  if (!Parser) {
    DoError("Parser not assigned. " + self);
    return false;
  }

  // By index: a load handler may change the list while it runs.
  for (size_t i = 0; i < ScriptFiles.size(); ++i) {
    const std::string fileName = ScriptFiles[i];
    bool loaded = false;
    if (OnLoadScript) {
      OnLoadScript(this, fileName, ScriptTexts, loaded);
    } else {
      std::error_code ec;
      if (!std::filesystem::exists(std::filesystem::path(fileName), ec)) {
        DoError("File not found: " + fileName);
        result = false;
        continue;
      }
      loaded = true;
    }
    if (loaded) {
      Parser->ScriptName = fileName;
      Parser->ParseFile(fileName, objs);
    } else {
      DoError("Script not load: " + fileName);
      result = false;
    }
    result = result && !Parser->Messages->HasErrors();
  }

  if (result) {
    auto* sqlParser = dynamic_cast<TCustomSQLParser*>(Parser.get());
    if (sqlParser && objs) {
      // Snapshot first: the pass may add objects to the container.
      std::vector<TDbObj*> domains;
      domains.reserve(static_cast<size_t>(objs->DmnList.Count()));
      for (const auto& e : objs->DmnList) domains.push_back(e.Obj.get());
      for (TDbObj* d : domains) sqlParser->ParseObjectBody(d);
    }
    Parser->FinishParse();
    // Errors found in stored bodies count like any other parse error.
    result = !Parser->Messages->HasErrors();
  }
  return result;
}
