#include "kinds/kvtComp_Gnr.h"

#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

TGnrData::TGnrData(TObjs* aObjs, TDbObj* owner) : TDbObj(aObjs), OwnerObj(owner) {
  ObjType = dboGenerator;
  if (!(owner && owner->As<TFldData>())) ValueType = std::make_unique<TFldData>(aObjs, this);
}

TGnrData::~TGnrData() = default;

void TGnrData::SetMaxValue(const std::string& value) {
  if (value == ServerMaxValue) {
    MaxValue.clear();
    NoMaxValue = true;
  } else {
    MaxValue = value;
    NoMaxValue = value.empty();
  }
}

void TGnrData::SetCache(const std::string& value) {
  if (value == "0") {
    Cache.clear();
    NoCache = true;
  } else {
    Cache = value;
    if (!value.empty()) NoCache = false;
  }
}

void TGnrData::SetNoCache(bool value) {
  NoCache = value;
  if (value) Cache.clear();
}

std::string TGnrData::GetCreateSQL() {
  switch (GetServerType()) {
    case srvOracle: {
      std::string s = "CREATE SEQUENCE ";
      if (!Schema.empty()) s += QuoteName(Schema) + ".";
      s += QuoteName(Name);
      if (!MinValue.empty() && MinValue != "1") s += "\r\nminvalue " + MinValue;
      if (!MaxValue.empty()) s += "\r\nmaxvalue " + MaxValue;
      if (!IncrementBy.empty() && IncrementBy != "1") s += "\r\nincrement by " + IncrementBy;
      if (!Cache.empty())
        s += "\r\ncache " + Cache;
      else if (NoCache)
        s += "\r\nnocache";
      if (Order) s += "\r\norder";
      if (Cycle) s += "\r\ncycle";
      return s;
    }
    case srvMSSQL: {
      std::string s = "CREATE SEQUENCE " + GetQualifiedName();
      if (ValueType && ValueType->DataType != dtUnknown)
        s += "\r\n    AS " + ValueType->GetTypeText();
      if (!StartWith.empty()) s += "\r\n    START WITH " + StartWith;
      if (!IncrementBy.empty() && IncrementBy != "1") s += "\r\n    INCREMENT BY " + IncrementBy;
      if (!MinValue.empty() && MinValue != "1") s += "\r\n    MINVALUE " + MinValue;
      if (!MaxValue.empty()) s += "\r\n    MAXVALUE " + MaxValue;
      if (Cycle) s += "\r\n    CYCLE";
      if (!Cache.empty())
        s += "\r\n    CACHE " + Cache;
      else if (NoCache)
        s += "\r\n    NOCACHE";
      return s;
    }
    case srvPostgreSQL: {
      std::string s = std::string("CREATE ") + (Temporary ? "TEMPORARY " : "") + "SEQUENCE " +
                      GetQualifiedName();
      if (!IncrementBy.empty()) s += " INCREMENT BY " + IncrementBy;
      if (!MinValue.empty()) s += " MINVALUE " + MinValue;
      if (!MaxValue.empty()) s += " MAXVALUE " + MaxValue;
      if (!StartWith.empty()) s += " START WITH " + StartWith;
      if (!Cache.empty()) s += " CACHE " + Cache;
      if (Cycle) s += " CYCLE";
      if (!OwnedBy.empty()) s += " OWNED BY " + OwnedBy;
      return s;
    }
    case srvInterBase: {
      // Firebird 3 keeps a generator's start value and increment with it, so
      // a new generator is created with them.
      std::string s = "CREATE GENERATOR " + QuoteName(Name);
      if (KeepsSequenceOptions()) {
        if (StartValue() != "0") s += " START WITH " + StartValue();
        if (IncrementValue() != "1") s += " INCREMENT BY " + IncrementValue();
      }
      return s;
    }
    case srvMySQL:
      return "CREATE SEQUENCE " + QuoteName(Name) + " " + MySQLOptionsText();
    default:
      return "CREATE GENERATOR " + QuoteName(Name);
  }
}

std::string TGnrData::MySQLStartValue() const {
  if (!StartWith.empty()) return StartWith;
  // An ascending sequence starts at its minimum, a descending one at its maximum.
  const bool descending = !IncrementBy.empty() && IncrementBy[0] == '-';
  if (descending) return MaxValue.empty() ? "-1" : MaxValue;
  return MinValue.empty() ? "1" : MinValue;
}

std::string TGnrData::MySQLOptionsText() const {
  // Every option with the server's default filled in, in the order the
  // server writes them: two spellings of one sequence give one text.
  const std::string increment = IncrementBy.empty() ? "1" : IncrementBy;
  const bool descending = increment[0] == '-';
  const std::string min = !MinValue.empty() ? MinValue : descending ? "-9223372036854775807" : "1";
  const std::string max = !MaxValue.empty() ? MaxValue : descending ? "-1" : "9223372036854775806";
  std::string s = "start with " + MySQLStartValue() + " minvalue " + min + " maxvalue " + max +
                  " increment by " + increment;
  s += NoCache || Cache.empty() || Cache == "0" ? " nocache" : " cache " + Cache;
  return s + (Cycle ? " cycle" : " nocycle");
}

bool TGnrData::KeepsSequenceOptions() {
  if (GetServerType() != srvInterBase) return false;
  TIBServerOptions* opts = GetServerOptions();
  const TIBSQLServerVersionType v = opts ? opts->SQLServerVersion : st_Firebird_25;
  return v == st_Firebird_30 || v == st_Firebird_40;
}

std::string TGnrData::StartValue() const { return StartWith.empty() ? "0" : StartWith; }

std::string TGnrData::IncrementValue() const { return IncrementBy.empty() ? "1" : IncrementBy; }

std::string TGnrData::GetDropSQL() {
  switch (GetServerType()) {
    case srvInterBase: {
      TIBServerOptions* opts = GetServerOptions();
      const TIBSQLServerVersionType v = opts ? opts->SQLServerVersion : st_Firebird_25;
      // InterBase before 7 has no DROP GENERATOR: the system table row goes.
      if (v == st_InterBase_4x || v == st_InterBase_5x || v == st_InterBase_6x)
        return "/* Drop generator: " + QuoteName(Name) + " */\r\n" +
               "DELETE FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = " +
               QuoteLiteral(Name, srvInterBase);
      return "DROP GENERATOR " + QuoteName(Name);
    }
    case srvOracle:
    case srvPostgreSQL:
      return "DROP SEQUENCE " + GetQualifiedName();
    case srvMySQL:
      return "DROP SEQUENCE " + QuoteName(Name);
    default:
      return std::string();
  }
}

std::string TGnrData::GetIdentityOptions() {
  if (GetServerType() != srvDB2) return std::string();
  return "(START WITH " + StartWith + ", INCREMENT BY " + IncrementBy + ", CACHE " + Cache + ")";
}

// ---------------------------------------------------------------------------
// Phases

namespace {

// Header comment of the generator phases for a target dialect; empty when the
// dialect's phase writes none.
std::string PhaseHeader(TServerType st, const char* generator, const char* sequence) {
  switch (st) {
    case srvInterBase:
      return generator;
    case srvOracle:
    case srvPostgreSQL:
    case srvMySQL:
      return sequence;
    default:
      return std::string();
  }
}


}  // namespace

void CreateGenerators(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  TCustomSQLExec* exec = &ctx.Exec;
  TPhaseHeader header(ctx.Exec, PhaseHeader(target.ServerType, "/* Create generator... */",
                                        "/* Create sequence... */"));
  for (const auto& e : master.GnrList) {
    auto* g = static_cast<TGnrData*>(e.Obj.get());
    if (g->Pair || g->GetExists()) continue;
    header.Write();
    exec->AddStatement(g->GetCreateScript(), skStatement, g->Name, dboGenerator, saCreate);
    if (master.CompareObjects.Contains(coDescription) && !g->Description.empty())
      exec->AddDescription(g);
  }
  header.Close();
}

void AlterGenerators(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  TCustomSQLExec* exec = &ctx.Exec;
  const bool sequences = target.ServerType == srvOracle || target.ServerType == srvPostgreSQL;
  TPhaseHeader header(ctx.Exec, target.ServerType == srvInterBase ? "/* Alter generator... */" : "");
  for (const auto& e : master.GnrList) {
    auto* m = static_cast<TGnrData*>(e.Obj.get());
    auto* t = m->Pair ? m->Pair->As<TGnrData>() : nullptr;
    if (!t) continue;
    if (sequences) {
      const std::string prefix = "ALTER SEQUENCE " + m->GetQualifiedName();
      auto alter = [&](const std::string& clause) {
        exec->AddStatement(prefix + clause, skStatement, m->Name, dboGenerator, saAlter);
      };
      if (!m->IncrementBy.empty() && m->IncrementBy != t->IncrementBy)
        alter(" increment by " + m->IncrementBy);
      if (!m->MaxValue.empty() && m->MaxValue != t->MaxValue) alter(" maxvalue " + m->MaxValue);
      if (m->Cycle != t->Cycle) alter(m->Cycle ? " cycle" : " nocycle");
      if (m->Order != t->Order) alter(m->Order ? " order" : " noorder");
      if (m->NoCache && !t->NoCache)
        alter(" nocache");
      else if (!m->Cache.empty() && m->Cache != t->Cache)
        alter(" cache " + m->Cache);
    }
    if (target.ServerType == srvMySQL) {
      // One statement with every option: the server checks the new range
      // against the current value, so a new start restarts the sequence in
      // the same statement (--safe leaves that statement out).
      const std::string options = m->MySQLOptionsText();
      if (options != t->MySQLOptionsText()) {
        const bool restart = m->MySQLStartValue() != t->MySQLStartValue();
        const std::string text =
            "ALTER SEQUENCE " + m->QuoteName(m->Name) + " " + options + (restart ? " restart" : "");
        TStatement* st = exec->AddStatement(text, skStatement, m->Name, dboGenerator, saAlter);
        if (st && restart)
          st->DataRisk = "it restarts sequence " + m->Name + " at " + m->MySQLStartValue() +
                         " and its current value is lost";
      }
    }
    if (target.ServerType == srvInterBase && m->KeepsSequenceOptions()) {
      const std::string name = m->QuoteName(m->Name);
      if (m->StartValue() != t->StartValue() || m->IncrementValue() != t->IncrementValue())
        header.Write();
      // Firebird sets the start value by restarting the generator, which also
      // resets its current value: --safe leaves that statement out.
      if (m->StartValue() != t->StartValue())
        if (TStatement* st = exec->AddStatement("ALTER SEQUENCE " + name + " RESTART WITH " +
                                                    m->StartValue(),
                                                skStatement, m->Name, dboGenerator, saAlter))
          st->DataRisk = "it restarts generator " + m->Name + " at " + m->StartValue() +
                         " and its current value is lost";
      if (m->IncrementValue() != t->IncrementValue())
        exec->AddStatement("ALTER SEQUENCE " + name + " INCREMENT BY " + m->IncrementValue(),
                           skStatement, m->Name, dboGenerator, saAlter);
    }
    if (master.CompareObjects.Contains(coDescription) && m->Description != t->Description)
      exec->AddDescription(m);
  }
  header.Close();
}

void DropGenerators(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  TPhaseHeader header(
      ctx.Exec, PhaseHeader(target.ServerType, "/* Drop generator... */", "/* Drop sequence... */"));
  for (const auto& e : target.GnrList) {
    auto* g = static_cast<TGnrData*>(e.Obj.get());
    // A generator the master also has (by name) is never dropped.
    if (g->Pair || !g->GetExists() || master.GnrList.Contains(g->Name)) continue;
    header.Write();
    g->DropDependDef();
  }
  header.Close();
}

bool TGnrData::IsKeptForMaster() {
  TObjs* master = Objs ? Objs->MasterSide() : nullptr;
  return master && master->GnrList.Contains(Name);
}

TGnrData* TCustomObjs::FindGenerator(const std::string& key) const {
  return FindIn<TGnrData>(GnrList, key);
}
