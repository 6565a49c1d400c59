// Builders for the procedure, trigger and view tests: routines with
// parameters, views, triggers, dependencies between them, and the phases of
// these kinds run in the comparer's order.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "kvtKindsFixture.h"

// One parameter or result of a test routine.
struct TParamSpec {
  TParamSpec(const char* name, uint8_t type = dtInteger, uint8_t direction = pdNone)
      : Name(name), Type(type), Direction(direction) {}
  std::string Name;
  uint8_t Type;
  uint8_t Direction;
};

inline TPrcData* AddProcedure(TObjs& objs, const std::string& name, const std::string& body,
                              const std::vector<TParamSpec>& params = {},
                              const std::vector<TParamSpec>& results = {},
                              bool isFunction = false) {
  auto p = std::make_unique<TPrcData>(&objs);
  p->SetName(name);
  p->IsFunction = isFunction;
  p->SetBody(body);
  auto add = [&](TNamedObjList<TFldData>& list, const TParamSpec& param) {
    auto f = std::make_unique<TFldData>(&objs, p.get());
    f->SetName(param.Name);
    f->DataType = param.Type;
    f->Direction = param.Direction;
    f->TableName = name;
    list.Add(param.Name, std::move(f));
  };
  for (const TParamSpec& s : params) add(p->Params, s);
  for (const TParamSpec& s : results) add(p->Results, s);
  TPrcData* raw = p.get();
  objs.AddObj(p, true);
  return raw;
}

inline TViwData* AddView(TObjs& objs, const std::string& name, const std::string& body) {
  auto v = std::make_unique<TViwData>(&objs);
  v->SetName(name);
  v->SetBody(body);
  TViwData* raw = v.get();
  objs.AddObj(v, true);
  return raw;
}

// A Firebird-style trigger (type code 1: BEFORE INSERT) on a table or view
// already in the container.
inline TTrgData* AddTrigger(TObjs& objs, const std::string& name, const std::string& table,
                            const std::string& body, int32_t typeCode = 1) {
  auto t = std::make_unique<TTrgData>(&objs);
  t->SetName(name);
  t->SetTableName(table);
  t->TypeCode = typeCode;
  t->TriggerTime = typeCode % 2 ? ttBefore : ttAfter;
  t->Events = teInsert;
  t->SetBody(body);
  TTrgData* raw = t.get();
  objs.AddObj(t, true);
  if (raw->Table) AddDependency(&objs, raw, raw->Table, "", 0, 0);
  return raw;
}

inline void Uses(TDbObj* user, TDbObj* used) { AddDependency(user->Objs, user, used, "", 0, 0); }

// The state a comparison starts its phases in: objects paired, compare
// texts cached, existence flags set.
inline void Prepare(TTwoDbs& db) {
  ::PairObjects(db.Master, db.Target);
  db.Master.CacheTexts();
  db.Target.CacheTexts();
  ::SetExistenceFlags(db.Master, db.Target);
}

// The phases of procedures, triggers and views, in the comparer's order.
inline constexpr int kBodyPhases[] = {11, 12, 13, 15, 23, 25, 26, 32, 33, 34, 35, 37};

inline void RunBodyPhases(TTwoDbs& db, int from = 0, int to = 99) {
  for (int n : kBodyPhases)
    if (n >= from && n <= to) db.RunPhase(n);
}

// What the script does, statement by statement (comments left out), as
// "<action> <object>"; a column is named table.column.
inline std::vector<std::string> Steps(const TCustomSQLExec& exec) {
  std::vector<std::string> out;
  for (const auto& st : exec.Statements) {
    if (st->Kind == skComment) continue;
    const char* action = "?";
    switch (st->Action) {
      case saCreate: action = "create"; break;
      case saAlter: action = "alter"; break;
      case saDrop: action = "drop"; break;
      case saEmptyBody: action = "empty"; break;
      case saRestoreBody: action = "restore"; break;
      case saCreateEmpty: action = "stub"; break;
      case saEmptyBeforeDrop: action = "empty-before-drop"; break;
      case saDescription: action = "describe"; break;
      default: break;
    }
    out.push_back(std::string(action) + " " +
                  (st->ParentName.empty() ? st->ObjName : st->ParentName + "." + st->ObjName));
  }
  return out;
}

// The text of the first statement (comments left out) with this action and
// object name; empty when there is none.
inline std::string StatementText(const TCustomSQLExec& exec, uint8_t action,
                                 const std::string& name) {
  for (const auto& st : exec.Statements)
    if (st->Kind != skComment && st->Action == action && st->ObjName == name) return st->GetText();
  return std::string();
}

// What the column-alteration routine does to a target column whose type
// changes: its dependents go, then the column is altered.
inline void RetypeColumn(TTwoDbs& db, TTblData* targetTable, const std::string& column,
                         const std::string& newType) {
  TFldData* c = targetTable->FindField(column);
  c->DropDependents();
  db.Exec.AddStatement("ALTER TABLE " + targetTable->Name + " ALTER COLUMN " + column + " TYPE " +
                           newType,
                       skStatement, column, dboField, saAlter, targetTable->Name);
}
