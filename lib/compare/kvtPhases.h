// The comparison phases as one table, read top to bottom in the order the
// comparer runs them: what others depend on is dropped after its dependents
// and created before them; procedure and trigger bodies are emptied before
// what they use changes and restored at the end. Each row names its phase
// number, the condition under which it runs and the function of the kind
// unit that owns it; a row without a function belongs to a kind that does
// not script anything yet and is passed over.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kvtTypes.h"

struct TCompareContext;

// When a phase runs.
enum class TPhaseRule : uint8_t {
  Always,
  Family,            // Value is a TCmpObjType compared by the run
  Keys,              // any of primary keys, foreign keys, unique, check
  Grants,            // any of grants, role grants, user grants
  Target,            // Value is the target's TServerType
  TargetIBOrOracle,  // InterBase/Firebird or Oracle target
  DbCharset          // InterBase/Firebird target comparing the database character set
};

struct TPhaseCondition {
  TPhaseRule Rule = TPhaseRule::Always;
  uint8_t Value = 0;
};

using TPhaseFunction = void (*)(TCompareContext&);

struct TComparePhase {
  int Number;
  const char* Name;
  TPhaseCondition Condition;
  TPhaseFunction Run;          // null: nothing to do yet
  bool ReportsErrors = false;  // an error is reported and the sequence goes on
};

extern const TComparePhase ComparePhases[];
extern const size_t ComparePhaseCount;

// Whether the phase's condition holds for this run.
bool PhaseApplies(const TComparePhase& phase, const TCompareContext& ctx);
