#include "compare/kvtPhases.h"

#include "compare/kvtScriptHeader.h"
#include "compare/kvtVeltrane.h"
#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumnAlter.h"
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

namespace {

// The comparer's own phases.
void WriteHeader(TCompareContext& ctx) {
  if (ctx.Comparer) ctx.Comparer->WriteScriptHeader();
}
void UpdateDatabaseCharset(TCompareContext& ctx) {
  WriteDatabaseCharsetUpdate(ctx.Exec, ctx.Master, ctx.Target);
}

constexpr TPhaseCondition Always{TPhaseRule::Always, 0};
constexpr TPhaseCondition Keys{TPhaseRule::Keys, 0};
constexpr TPhaseCondition Grants{TPhaseRule::Grants, 0};
constexpr TPhaseCondition DbCharset{TPhaseRule::DbCharset, 0};
constexpr TPhaseCondition TargetIBOrOracle{TPhaseRule::TargetIBOrOracle, 0};
constexpr TPhaseCondition Family(TCmpObjType family) { return {TPhaseRule::Family, family}; }
constexpr TPhaseCondition Target(TServerType type) { return {TPhaseRule::Target, type}; }

}  // namespace

const TComparePhase ComparePhases[] = {
    {1, "MatchTables", Always, &MatchTables},
    {2, "WriteScriptHeader", Always, &WriteHeader},
    {3, "UpdateDatabaseCharset", DbCharset, &UpdateDatabaseCharset},
    {4, "CreateCollations", Always, &CreateCollations},
    {4, "AlterCollations", Always, &AlterCollations},
    {5, "CreateSchemas", Always, &CreateSchemas},
    {5, "AlterSchemas", Always, &AlterSchemas},
    {6, "CreateConversions", Target(srvPostgreSQL), &CreateConversions},
    {6, "AlterConversions", Target(srvPostgreSQL), &AlterConversions},
    {6, "CreateOperators", Target(srvPostgreSQL), &CreateOperators},
    {6, "AlterOperators", Target(srvPostgreSQL), &AlterOperators},
    {6, "CreateOperatorClasses", Target(srvPostgreSQL), &CreateOperatorClasses},
    {6, "AlterOperatorClasses", Target(srvPostgreSQL), &AlterOperatorClasses},
    {7, "CreateRules", Target(srvMSSQL), &CreateRules},
    {7, "CreateDefaults", Target(srvMSSQL), &CreateDefaults},
    {7, "AlterRules", Target(srvMSSQL), &AlterRules},
    {7, "AlterDefaults", Target(srvMSSQL), &AlterDefaults},
    {8, "DropConstraints", Keys, &DropConstraints},
    {9, "CreateDomains", Family(coDomain), &CreateDomains},
    {10, "DeclareFunctions", Family(coFunction), &DeclareFunctions},
    {11, "EmptyTriggersOnDroppedViews", Family(coTrigger), &EmptyTriggersOnDroppedViews},
    {12, "DropProcedures", Family(coProcedure), &DropProcedures},
    {13, "DropTriggers", Family(coTrigger), &DropTriggers},
    {14, "DropIndexes", Family(coIndex), &DropIndexes},
    {15, "DropViews", Family(coView), &DropViews},
    {16, "AlterFunctions", Family(coFunction), &AlterFunctions},
    {17, "DropExceptions", Family(coException), &DropExceptions},
    {18, "DropFunctions", Family(coFunction), &DropFunctions},
    {19, "AlterDomains", Family(coDomain), &AlterDomains},
    {20, "CreateTables", Family(coTable), &CreateTables},
    {21, "CreateColumns", Family(coTable), &CreateColumns},
    {21, "AlterTables", Family(coTable), &AlterTables},
    {21, "AlterColumns", Family(coTable), &AlterColumns},
    {21, "CheckColumnOrder", Family(coTable), &CheckColumnOrder},
    {22, "DropColumnsAndTables", Family(coTable), &DropColumnsAndTables},
    {23, "CreateProcedureStubs", Family(coProcedure), &CreateProcedureStubs},
    {24, "DropDomains", Family(coDomain), &DropDomains},
    // A view that cannot be created yet is retried in phase 34.
    {25, "CreateViews", Family(coView), &CreateViews, true},
    {26, "AlterViews", Family(coView), &AlterViews},
    {27, "CreateRules", Family(coRule), &CreateRules},
    {28, "CreateIndexes", Family(coIndex), &CreateIndexes},
    {28, "AlterIndexes", Family(coIndex), &AlterIndexes},
    {29, "CreateGenerators", Family(coGenerator), &CreateGenerators},
    {30, "CreateExceptions", Family(coException), &CreateExceptions},
    {30, "AlterExceptions", Family(coException), &AlterExceptions},
    // Package headers come before the procedure bodies that call their
    // routines (and after the exceptions and generators their bodies use);
    // the bodies follow in phase 39, once the procedures are finished.
    {30, "DropPackages", TargetIBOrOracle, &DropPackages},
    {30, "CreatePackages", TargetIBOrOracle, &CreatePackages},
    {30, "AlterPackages", TargetIBOrOracle, &AlterPackages},
    {31, "CreateConstraints", Keys, &CreateConstraints},
    {31, "RestoreAutoIncrement", Target(srvMySQL), &RestoreAutoIncrement},
    {32, "AlterProcedures", Family(coProcedure), &AlterProcedures},
    // DEFAULT constraints follow the procedure bodies; they are keys of their
    // table and are created whenever keys are compared.
    {32, "CreateDefaultConstraints", Keys, &CreateDefaultConstraints},
    {33, "CreateTriggers", Family(coTrigger), &CreateTriggers},
    {34, "CreateViews", Family(coView), &CreateViews},
    {35, "AlterTriggers", Family(coTrigger), &AlterTriggers},
    {36, "AlterGenerators", Family(coGenerator), &AlterGenerators},
    {36, "DropGenerators", Family(coGenerator), &DropGenerators},
    {37, "RestoreProcedures", Family(coProcedure), &AlterProcedures},
    {38, "DropDefaults", Target(srvMSSQL), &DropDefaults},
    {38, "DropRules", Target(srvMSSQL), &DropRules},
    {39, "CreatePackageBodies", TargetIBOrOracle, &CreatePackageBodies},
    {40, "RestoreColumnOrder", Family(coTable), &RestoreColumnOrder},
    {40, "RecreateTablesForColumnOrder", Family(coTable), &RecreateTablesForColumnOrder},
    {41, "DropPublications", Family(coTable), &DropPublications},
    {41, "AlterPublications", Family(coTable), &AlterPublications},
    {41, "CreatePublications", Family(coTable), &CreatePublications},
    {42, "CreateRoles", Family(coRole), &CreateRoles},
    {42, "AlterRoles", Family(coRole), &AlterRoles},
    {43, "DropOperatorClasses", Target(srvPostgreSQL), &DropOperatorClasses},
    {43, "DropOperators", Target(srvPostgreSQL), &DropOperators},
    {43, "DropConversions", Target(srvPostgreSQL), &DropConversions},
    {43, "AlterRules", Target(srvPostgreSQL), &AlterRules},
    {43, "DropRules", Target(srvPostgreSQL), &DropRules},
    {44, "CreateEvents", Always, &CreateEvents},
    {44, "AlterEvents", Always, &AlterEvents},
    {44, "DropEvents", Always, &DropEvents},
    {45, "DropSchemas", Always, &DropSchemas},
    {46, "DropCollations", Always, &DropCollations},
    {47, "RevokeGrants", Grants, &RevokeGrants},
    {47, "CreateGrants", Grants, &CreateGrants},
    {48, "DropRoles", Family(coRole), &DropRoles},
};

const size_t ComparePhaseCount = sizeof(ComparePhases) / sizeof(ComparePhases[0]);

bool PhaseApplies(const TComparePhase& phase, const TCompareContext& ctx) {
  const TCmpObjSetType co = ctx.CompareObjects;
  const TServerType target = ctx.Target.ServerType;
  switch (phase.Condition.Rule) {
    case TPhaseRule::Always:
      return true;
    case TPhaseRule::Family:
      return co.Contains(static_cast<TCmpObjType>(phase.Condition.Value));
    case TPhaseRule::Keys:
      return co.Contains(coPrimaryKey) || co.Contains(coForeignKey) || co.Contains(coUnique) ||
             co.Contains(coCheck);
    case TPhaseRule::Grants:
      return co.Contains(coGrant) || co.Contains(coRoleGrant) || co.Contains(coUserGrant);
    case TPhaseRule::Target:
      return target == phase.Condition.Value;
    case TPhaseRule::TargetIBOrOracle:
      return target == srvInterBase || target == srvOracle;
    case TPhaseRule::DbCharset:
      return target == srvInterBase && ctx.Target.IBServerOptions->IBCompareOptions->DbCharsetCompare;
  }
  return false;
}
