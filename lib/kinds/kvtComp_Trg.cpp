#include "kinds/kvtComp_Trg.h"

#include <algorithm>
#include <vector>

#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"
#include "kinds/kvtPhaseHeader.h"
#include "kinds/kvtScoped.h"
#include "kinds/kvtSqlText.h"
#include "script/kvtSQL_Exec.h"

namespace {

// The trigger event words by event bit, in header order.
struct TEventWord {
  uint8_t Bit;
  const char* Word;
};
constexpr TEventWord kEventWords[] = {{teInsert, "INSERT"}, {teUpdate, "UPDATE"}, {teDelete, "DELETE"}};

// The InterBase/Firebird event of a code in a trigger type (1 INSERT,
// 2 UPDATE, 3 DELETE); empty for 0.
const char* IBEventWord(int code) {
  switch (code) {
    case 1: return "INSERT";
    case 2: return "UPDATE";
    case 3: return "DELETE";
    default: return "";
  }
}

TTrgData* TriggerPair(TTrgData& t) { return t.Pair ? t.Pair->As<TTrgData>() : nullptr; }

}  // namespace

TTrgData::TTrgData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboTrigger; }

TTrgData::~TTrgData() = default;

void TTrgData::SetTableName(const std::string& name) {
  if (name != TableName || !Table) {
    Table = nullptr;
    if (Objs) {
      const std::string key = GetServerType() == srvASA ? QualifyName(Owner, name) : name;
      if (TTblData* t = Objs->FindTable(key))
        Table = t;
      else if (TViwData* v = Objs->FindView(key))
        Table = v;
    }
  }
  TableName = name;
}

void TTrgData::SetNeedsRestore(bool value) {
  NeedsRestore = value;
  if (auto* pair = Pair ? Pair->As<TTrgData>() : nullptr) pair->NeedsRestore = value;
}

bool TTrgData::IsDatabaseTrigger() const {
  if (!DatabaseEvent.empty()) return true;
  return !Table && (TableName == "DATABASE" || TableName == "ALL SERVER");
}

bool TTrgData::SameText(const std::string& a, const std::string& b) const {
  return SameSqlText(a, b, GetServerType());
}

// ---------------------------------------------------------------------------
// Texts

std::string TTrgData::EventWords(const char* sep) const {
  std::string s;
  for (const TEventWord& w : kEventWords)
    if (Events & w.Bit) s += (s.empty() ? "" : sep) + std::string(w.Word);
  return s;
}

std::string TTrgData::IBTypeText() const {
  if (IsDatabaseTrigger()) return "ON " + DatabaseEvent + "\r\n";
  int code = TypeCode;
  if (code == 0 && Events != 0) {
    // A trigger of another dialect: its type code from time and events.
    code = TriggerTime == ttBefore ? 0 : 1;
    int i = 1;
    for (const TEventWord& w : kEventWords)
      if (Events & w.Bit) {
        const int event = w.Bit == teInsert ? 1 : w.Bit == teUpdate ? 2 : 3;
        code += event << (2 * i - 1);
        ++i;
      }
    code -= 1;
  }
  std::string s = code % 2 != 0 ? "BEFORE " : "AFTER ";
  const int bits = code + 1;
  bool first = true;
  for (int shift : {1, 3, 5}) {
    const char* word = IBEventWord((bits >> shift) & 3);
    if (!*word) continue;
    s += (first ? "" : " OR ") + std::string(word);
    first = false;
  }
  return s;
}

std::string TTrgData::MSSQLHeader(const char* verb) {
  std::string s = std::string(verb) + " TRIGGER ";
  std::string events;
  if (IsDatabaseTrigger()) {
    s += QuoteName(Name) + " ON " + TableName;
    events = DatabaseEvent;
  } else {
    s += GetQualifiedName() + " ON " + (Schema.empty() ? "" : QuoteName(Schema) + ".") +
         QuoteName(TableName);
    events = EventWords(", ");
  }
  switch (TriggerTime) {
    case ttAfter: s += "\r\n AFTER "; break;
    case ttInsteadOf: s += "\r\n INSTEAD OF "; break;
    default: s += "\r\n FOR "; break;  // FOR; a time MS SQL does not know fires as FOR
  }
  s += events + "\r\n";
  if (WithAppend) s += " WITH APPEND\r\n";
  if (NotForReplication) s += " NOT FOR REPLICATION\r\n";
  return s + " AS\r\n";
}

std::string TTrgData::GetCreateSQL() {
  const std::string name = QuoteName(Name);
  const std::string table = QuoteName(TableName);
  const std::string schema = Schema.empty() ? std::string() : QuoteName(Schema) + ".";
  // "A OR B OR " style event lists with the trailing " OR " cut.
  auto orList = [](std::string s) { return s.size() >= 4 ? s.substr(0, s.size() - 4) : s; };
  switch (GetServerType()) {
    case srvASA: {
      std::string s = "CREATE TRIGGER \r\n" + Name + " ";
      const std::string owner = Owner.empty() ? std::string() : Owner + ".";
      if (TransactSqlStyle == 1)
        return s + "ON " + owner + table + "\r\n  FOR " + EventWords(", ") + "\r\n  AS\r\n" + Body;
      s += TriggerTime == ttBefore ? "BEFORE " : "AFTER ";
      std::string events;
      for (const TEventWord& w : kEventWords) {
        if (!(Events & w.Bit)) continue;
        if (!events.empty()) events += ", ";
        events += w.Word;
        if (w.Bit == teUpdate && !UpdateColumns.Empty()) {
          events += " OF";
          for (int i = 0; i < UpdateColumns.Count(); ++i)
            events += (i ? "," : "") + std::string(" ") + QuoteName(UpdateColumns.Names(i));
        }
      }
      s += events;
      if (Position != 0) s += " ORDER " + std::to_string(Position);
      s += " ON\r\n" + owner + TableName + "\r\n";
      if (!OldAlias.empty() || !NewAlias.empty() || !RemoteAlias.empty()) {
        s += "REFERENCING";
        if (!OldAlias.empty()) s += " OLD AS " + QuoteName(OldAlias);
        if (!NewAlias.empty()) s += " NEW AS " + QuoteName(NewAlias);
        if (!RemoteAlias.empty()) s += " REMOTE AS " + QuoteName(RemoteAlias);
        s += "\r\n";
      }
      if (ForEachRow) s += "FOR EACH ROW\r\n";
      if (ForEachStatement) s += "FOR EACH STATEMENT\r\n";
      return s + Body;
    }
    case srvMySQL:
      return MySQLCreateText(std::string());
    case srvOracle: {
      std::string s = "CREATE OR REPLACE TRIGGER " + schema + name + "\r\n";
      s += TriggerTime == ttBefore ? "  BEFORE " : TriggerTime == ttInsteadOf ? "  INSTEAD OF " : "  AFTER ";
      std::string events;
      if (Events & teInsert) events += "INSERT OR ";
      if (Events & teUpdate) {
        events += "UPDATE ";
        if (!UpdateColumns.Empty()) {
          events += " OF ";
          for (int i = 0; i < UpdateColumns.Count(); ++i)
            events += (i ? ", " : "") + QuoteName(UpdateColumns.Names(i));
          events += " ";
        }
        events += "OR ";
      }
      if (Events & teDelete) events += "DELETE OR ";
      s += orList(events) + " ON " + schema + table + "\r\n";
      if (!NewAlias.empty() || !OldAlias.empty() || !ParentAlias.empty()) {
        s += "  REFERENCING";
        if (!NewAlias.empty()) s += " NEW AS " + QuoteName(NewAlias);
        if (!OldAlias.empty()) s += " OLD AS " + QuoteName(OldAlias);
        if (!ParentAlias.empty()) s += " PARENT AS " + QuoteName(ParentAlias);
        s += "\r\n";
      }
      if (ForEachRow) s += "  FOR EACH ROW\r\n";
      if (ForEachStatement) s += "  FOR EACH STATEMENT\r\n";
      if (!WhenCondition.empty()) s += "  WHEN " + WhenCondition + "\r\n";
      return s + Body;
    }
    case srvMSSQL:
    case srvASE:
      if (Body.empty()) return StatementText;
      return MSSQLHeader("CREATE") + Body;
    case srvPostgreSQL: {
      std::string s = "CREATE TRIGGER " + name + "\r\n" +
                      (TriggerTime == ttBefore ? "  BEFORE" : "  AFTER") + " " +
                      orList(EventWords(" OR ") + " OR ") + "\r\n  ON " + schema + table + "\r\n";
      if (ForEachRow) s += "  FOR EACH ROW\r\n";
      if (ForEachStatement) s += "  FOR EACH STATEMENT\r\n";
      return s + Body;
    }
    case srvDB2: {
      std::string s = "CREATE TRIGGER " + name + "\r\n" +
                      (TriggerTime == ttBefore ? "  NO CASCADE BEFORE" : "  AFTER") + " " +
                      orList(EventWords(" OR ") + " OR ");
      if (!UpdateColumns.Empty()) {
        s += " OF ";
        for (int i = 0; i < UpdateColumns.Count(); ++i) s += (i ? ", " : "") + UpdateColumns.Names(i);
      }
      s += " ON " + table + "\r\n";
      if (!NewAlias.empty() || !OldAlias.empty() || !NewTableAlias.empty() || !OldTableAlias.empty()) {
        s += "  REFERENCING\r\n";
        if (!NewAlias.empty()) s += "  NEW AS " + NewAlias + "\r\n";
        if (!OldAlias.empty()) s += "  OLD AS " + OldAlias + "\r\n";
        if (!NewTableAlias.empty()) s += "  NEW_TABLE AS " + NewTableAlias + "\r\n";
        if (!OldTableAlias.empty()) s += "  OLD_TABLE AS " + OldTableAlias + "\r\n";
      }
      if (ForEachRow) s += "  FOR EACH ROW";
      if (ForEachStatement) s += "  FOR EACH STATEMENT";
      s += " MODE " + Mode + "\r\n";
      if (!WhenCondition.empty()) s += "  WHEN " + WhenCondition + "\r\n";
      return s + Body;
    }
    default: {  // InterBase/Firebird and every dialect without a form of its own
      std::string s = "CREATE TRIGGER " + name;
      s += IsDatabaseTrigger() ? "\r\n" : " FOR " + table + "\r\n";
      s += Active ? "ACTIVE " : "INACTIVE ";
      s += IBTypeText();
      s += " POSITION " + std::to_string(Position) + " \r\n";
      return s + Body;
    }
  }
}

std::string TTrgData::MySQLCreateText(const std::string& order) {
  if (!HeaderText.empty())
    return "CREATE TRIGGER " + HeaderText + order + (BodySeparator.empty() ? "\r\n" : BodySeparator) + Body;
  // MySQL has one event per trigger; the last one present is written.
  const char* event = (Events & teDelete)   ? "DELETE"
                      : (Events & teUpdate) ? "UPDATE"
                      : (Events & teInsert) ? "INSERT"
                                            : "";
  return "CREATE TRIGGER " + QuoteName(Name) + " " + (TriggerTime == ttBefore ? "BEFORE " : "AFTER ") +
         event + " ON " + QuoteName(TableName) + " FOR EACH ROW" + order + "\r\n" + Body;
}

namespace {

// A trigger that fires in its master place on the target now: it exists
// and is not waiting to be created again in its place.
bool InPlace(TTrgData& t) { return t.GetExists() && !t.OutOfOrder; }

}  // namespace

std::string TTrgData::GetCreateScript() {
  if (GetServerType() != srvMySQL) return TDbObj::GetCreateScript();
  // A new trigger fires after the others of its table, time and event; the
  // clause puts it right after the nearest trigger before it in the master's
  // order that is in place, or else right before the nearest one after it.
  std::string order;
  for (TTrgData* p = OrderPrev; p && order.empty(); p = p->OrderPrev)
    if (InPlace(*p)) order = " FOLLOWS " + QuoteName(p->Name);
  for (TTrgData* n = OrderNext; n && order.empty(); n = n->OrderNext)
    if (InPlace(*n)) order = " PRECEDES " + QuoteName(n->Name);
  return MySQLCreateText(order);
}

std::string TTrgData::GetDropSQL() {
  const std::string name = QuoteName(Name);
  const std::string schema = Schema.empty() ? std::string() : QuoteName(Schema) + ".";
  switch (GetServerType()) {
    case srvASA:
      return "DROP TRIGGER " + (Owner.empty() ? std::string() : QuoteName(Owner) + ".") +
             QuoteName(TableName) + "." + name;
    case srvOracle:
      return "DROP TRIGGER " + schema + name;
    case srvMSSQL:
      if (IsDatabaseTrigger()) return "DROP TRIGGER " + name + " ON " + TableName;
      return "DROP TRIGGER " + schema + name;
    case srvPostgreSQL:
      return "DROP TRIGGER " + name + " ON " + schema + QuoteName(TableName);
    default:
      return "DROP TRIGGER " + name;
  }
}

std::string TTrgData::GetAlterSQL() {
  if (GetServerType() == srvMSSQL) return MSSQLHeader("ALTER") + Body;
  return "ALTER TRIGGER " + QuoteName(Name) + "\r\n" + Body;
}

std::string TTrgData::GetSQLText() {
  if (ParsedBody.empty()) ParsedBody = Body;
  return RenderWithBody(*this, ParsedBody, [this] { return GetCreateSQL(); });
}

std::string TTrgData::GetStubBody() {
  switch (GetServerType()) {
    case srvMySQL:
      return " BEGIN END";
    case srvMSSQL:
      return " declare @i integer;\r\nbegin set @i = 0; end";
    default:
      return " AS Declare variable I integer;\r\nBEGIN I = 0; END";
  }
}

std::string TTrgData::GetStubCreateSQL() {
  return RenderWithBody(*this, GetStubBody(), [this] { return GetCreateSQL(); });
}

bool TTrgData::HasStubBody() { return SameText(Body, GetStubBody()); }

// ---------------------------------------------------------------------------
// Stub scheme and dependency walks

void TTrgData::WriteDefinition(uint8_t action) {
  TCustomSQLExec* exec = GetSQLExec();
  if (!exec) return;
  switch (GetServerType()) {
    case srvInterBase:
    case srvASA:
    case srvMSSQL:
      exec->AddStatement(GetAlterSQL(), skTrigger, Name, dboTrigger, action);
      break;
    case srvOracle:
      exec->AddStatement(GetCreateSQL(), skTrigger, Name, dboTrigger, action);  // CREATE OR REPLACE
      break;
    default:
      // No ALTER TRIGGER for a body: the trigger is dropped and created.
      exec->AddStatement(GetDropSQL(), skStatement, Name, dboTrigger, saDrop);
      exec->AddStatement(GetCreateScript(), skTrigger, Name, dboTrigger, action);
      OutOfOrder = false;
      break;
  }
}

void TTrgData::EmptyBody(uint8_t action) {
  if (!GetExists() || GetServerType() == srvMySQL || HasStubBody()) return;
  if (ParsedBody.empty()) ParsedBody = Body;
  SetBody(GetStubBody());
  for (auto& r : UseOfList) r->Pending = false;
  // The master trigger has to get its body back later in the run.
  TTrgData* master = Objs && Objs->Role == 2 ? TriggerPair(*this) : nullptr;
  if (!master && Objs)
    if (TObjs* m = Objs->MasterSide()) master = m->FindTrigger(Name);
  if (master) master->SetNeedsRestore(true);
  WriteDefinition(action);
}

void TTrgData::EmptyBody() { EmptyBody(saAlter); }

void TTrgData::AppendCreateStatement() {
  if (TCustomSQLExec* exec = GetSQLExec())
    exec->AddStatement(GetCreateScript(), skTrigger, Name, dboTrigger, saCreate);
  CreatedBody = Body;
  OutOfOrder = false;
  for (auto& r : UseInList) r->Pending = false;
}

bool TTrgData::ReleaseUse(TDbObj& /*used*/) {
  switch (GetServerType()) {
    case srvPostgreSQL:
    case srvASE:
      DropDependDef();
      break;
    default:
      EmptyBody(saEmptyBody);
      break;
  }
  return true;
}

void TTrgData::DropDependents() {
  // Other triggers of the same view that still call this one are emptied.
  TObjs* target = TargetObjs();
  TViwData* view = nullptr;
  if (Table && Table->IsView() && Table->Objs == target)
    view = Table->As<TViwData>();
  else if (target)
    view = target->FindView(TableName);
  if (view) {
    for (size_t i = 0; i < view->UseInList.size(); ++i) {
      TDependObj* r = view->UseInList[i].get();
      auto* other = r->Pending && r->Obj ? r->Obj->As<TTrgData>() : nullptr;
      if (!other || other == this || other->Name == Name || !other->GetExists() || other->HasStubBody())
        continue;
      other->EmptyBody();
      r->Pending = false;
    }
  }
  TDbObj::DropDependents();
}

TTrgData* TCustomObjs::FindTrigger(const std::string& key) const {
  return FindIn<TTrgData>(TrgList, key);
}

// ---------------------------------------------------------------------------
// Phases

namespace {

template <class Fn>
void ForEachTrigger(TObjs& objs, Fn fn) {
  for (int i = 0; i < objs.TrgList.Count(); ++i)
    if (auto* t = objs.TrgList.Objects(i)->As<TTrgData>()) fn(*t);
}

void WriteDescription(TCompareContext& ctx, TTrgData& t) {
  if (!ctx.Compares(coDescription) || t.Description.empty()) return;
  if (ctx.Target.ServerType == srvASA)
    ctx.Exec.AddStatement("COMMENT ON TRIGGER " + t.Name + " IS " + QuoteLiteral(t.Description, srvASA),
                          skStatement, t.Name, dboTrigger, saDescription);
  else
    ctx.Exec.AddDescription(&t);
}

// InterBase/Firebird after version 5 alters a trigger's body in place.
bool AltersTriggerBodies(const TObjs& target) {
  if (target.ServerType != srvInterBase) return false;
  const TIBSQLServerVersionType v = target.IBServerOptions->SQLServerVersion;
  return v != st_InterBase_4x && v != st_InterBase_5x;
}

}  // namespace

void EmptyTriggersOnDroppedViews(TCompareContext& ctx) {
  ForEachTrigger(ctx.Target, [&](TTrgData& t) {
    if (t.Pair || !t.Table || !t.Table->IsView() || t.HasStubBody()) return;
    if (t.GetServerType() == srvMySQL) return;
    if (t.ParsedBody.empty()) t.ParsedBody = t.Body;
    t.SetBody(t.GetStubBody());
    ctx.Exec.AddComment(t.MakeComment("Empty trigger body before drop..."));
    t.WriteDefinition(saEmptyBeforeDrop);
  });
}

namespace {

// The first trigger of the order chain `t` is in.
TTrgData* OrderHead(TTrgData* t) {
  while (t->OrderPrev) t = t->OrderPrev;
  return t;
}

bool SameFiring(const TTrgData& a, const TTrgData& b) {
  return a.TableName == b.TableName && a.TriggerTime == b.TriggerTime && a.Events == b.Events;
}

// Marks the master triggers whose namesakes fire out of the master's order
// in the target. The longest run of paired triggers that fires in the same
// order on both sides stays; the others are created again in their places.
void MarkTriggersOutOfOrder(TObjs& master) {
  ForEachTrigger(master, [&](TTrgData& m) {
    if (m.OrderPrev || !m.OrderNext) return;  // each chain of two or more once, from its head
    std::vector<TTrgData*> ms, ts;
    TTrgData* targetHead = nullptr;
    for (TTrgData* x = &m; x; x = x->OrderNext) {
      TTrgData* t = TriggerPair(*x);
      if (!t || !SameFiring(*x, *t)) continue;
      ms.push_back(x);
      if (!targetHead) targetHead = OrderHead(t);
    }
    if (ms.size() < 2) return;
    for (TTrgData* t = targetHead; t; t = t->OrderNext) {
      TTrgData* p = TriggerPair(*t);
      if (p && SameFiring(*p, *t)) ts.push_back(p);
    }
    // Longest common subsequence of the two orders.
    const size_t a = ms.size(), b = ts.size();
    std::vector<std::vector<int>> len(a + 1, std::vector<int>(b + 1, 0));
    for (size_t i = a; i-- > 0;)
      for (size_t j = b; j-- > 0;)
        len[i][j] = ms[i] == ts[j] ? len[i + 1][j + 1] + 1 : std::max(len[i + 1][j], len[i][j + 1]);
    for (TTrgData* x : ms) x->OutOfOrder = true;
    for (size_t i = 0, j = 0; i < a && j < b;) {
      if (ms[i] == ts[j]) {
        ms[i]->OutOfOrder = false;
        ++i;
        ++j;
      } else if (len[i + 1][j] >= len[i][j + 1]) {
        ++i;
      } else {
        ++j;
      }
    }
  });
}

}  // namespace

void DropTriggers(TCompareContext& ctx) {
  if (ctx.Target.ServerType == srvMySQL) MarkTriggersOutOfOrder(ctx.Master);
  TPhaseHeader header(ctx.Exec, "Drop Trigger...");
  ForEachTrigger(ctx.Target, [&](TTrgData& t) {
    if (t.Pair || !t.GetExists()) return;
    header.Write(t);
    t.DropDependDef();
  });
  header.Close();
}

void CreateTriggers(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "Create trigger...");
  ForEachTrigger(ctx.Master, [&](TTrgData& m) {
    if (m.Pair || m.GetExists()) return;
    header.Write(m);
    m.CreateDependDef();
    WriteDescription(ctx, m);
  });
  header.Close();
}

void AlterTriggers(TCompareContext& ctx) {
  const bool altersBodies = AltersTriggerBodies(ctx.Target);
  ForEachTrigger(ctx.Master, [&](TTrgData& m) {
    TTrgData* t = TriggerPair(m);
    bool work = false;
    if (t && !m.GetExists()) {
      // Dropped during the run with what it belonged to: created again.
      ctx.Exec.AddComment(m.MakeComment("Create dropped trigger: " + m.Name));
      m.CreateDependDef();
      m.SetNeedsRestore(false);
      WriteDescription(ctx, m);
      return;
    }
    if (t) {
      const bool changed = !m.SameText(m.GetCreateSQL(), t->GetCreateSQL()) || m.OutOfOrder;
      if (changed) ctx.Exec.AddComment(m.MakeComment("Alter exist trigger..."));
      work = changed || m.NeedsRestore;
    } else if (m.GetExists()) {
      work = !m.SameText(m.CreatedBody, m.Body);
      if (work) ctx.Exec.AddComment(m.MakeComment("Alter created trigger..."));
    }
    if (!work) {
      if (t && ctx.Compares(coDescription) && m.Description != t->Description)
        ctx.Exec.AddDescription(&m);
      return;
    }
    if (t && !m.SameText(m.GetStubCreateSQL(), t->GetStubCreateSQL())) {
      // The header changed: the trigger is dropped and created.
      t->DropDependDef();
      m.CreateDependDef();
    } else if (altersBodies) {
      if (!t || !m.SameText(m.Body, t->Body) || m.NeedsRestore) {
        m.CreateDependencies();
        ctx.Exec.AddStatement(m.GetAlterSQL(), skTrigger, m.Name, dboTrigger, saAlter);
        m.MarkCreated();
        // The target trigger runs the master's body now.
        if (t) t->ReleaseUses();
      }
    } else {
      if (t) t->DropDependDef();
      m.CreateDependencies();
      if (m.GetExists()) {
        m.WriteDefinition(saCreate);
      } else {
        ctx.Exec.AddStatement(m.GetCreateScript(), skTrigger, m.Name, dboTrigger, saCreate);
        m.OutOfOrder = false;
        m.MarkCreated();
      }
    }
    m.SetNeedsRestore(false);
    WriteDescription(ctx, m);
  });
}
