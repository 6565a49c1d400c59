// The three phases of the kinds that are compared by their creation text
// alone and re-created when it differs (defaults, collations, rules,
// operators, operator classes, events): create what the target lacks,
// re-create what differs, drop what the master no longer has. Each kind
// names its list, how an object finds its counterpart and its comment.
#pragma once

#include <cstdint>

#include "core/kvtClasses.h"

struct TCompareContext;

// How an object finds its counterpart on the other side.
enum class TCounterpart : uint8_t {
  Namesake,  // the object under the same list key in the other side's list
  Pair       // the Pair set by pairing
};

struct TListPhase {
  TObjListId List;
  TCounterpart By;
  // The comment written once before the first object handled; null for none.
  const char* Header = nullptr;
  // The header is a label the handled object turns into its dialect's
  // comment (MakeComment); otherwise it is written as it stands.
  bool HeaderIsLabel = false;
  // Description statements: for created objects that have one, and for
  // counterparts whose descriptions differ.
  bool Descriptions = false;
};

// Master objects without a counterpart that do not exist yet: CreateDependDef.
void CreateMissingObjects(TCompareContext& ctx, const TListPhase& phase);
// Master objects whose counterpart's creation text differs (exact
// comparison): the counterpart's DropDependDef, then the object's
// CreateDependDef. A Namesake header is made by the counterpart.
void RecreateChangedObjects(TCompareContext& ctx, const TListPhase& phase);
// Target objects without a counterpart that still exist: DropDependDef.
void DropVanishedObjects(TCompareContext& ctx, const TListPhase& phase);
