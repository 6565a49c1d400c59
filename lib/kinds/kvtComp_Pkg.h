// Packages (Firebird 3.0 and later, Oracle): one object carries both the
// header and the body statement. A package header is written before the
// procedure bodies, which may call its routines, and the bodies after the
// procedures are finished, since a body may call any of them. A package whose
// header changes first releases what uses it (procedure and trigger bodies are
// emptied and restored by their phases, views are dropped and created again).
#pragma once

#include <string>

#include "core/kvtClasses.h"

struct TCompareContext;

// The base Body holds the body text after the package name; empty when the
// package has no body.
class TPkgData : public TDbObj {
 public:
  explicit TPkgData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboPackage; }
  const char* ClassName() const override { return "TPkgData"; }
  TObjListId GetListId() const override { return olPkg; }

  // The header statement, then the body statement after a terminator line.
  std::string GetCreateSQL() override;
  std::string GetDropSQL() override;  // DROP PACKAGE name
  // Creating a package writes its header; the body follows in the body phase.
  void AppendCreateStatement() override;
  // A routine, trigger or view that needs the package: a new package is
  // created, a changed header is brought up to date first.
  void ProvideFor(TDbObj& user, TDependObj& r) override;

  // Set while the parser reads a PACKAGE BODY: the text then goes to Body,
  // otherwise to Header.
  bool IsBody = false;
  std::string Header;  // everything after the package name in the header statement

  // The two statements that create the package.
  std::string GetHeaderSQL();
  std::string GetBodySQL();

  // Master package: compares itself with the target's package `target` once
  // per run; a changed header is written now (after releasing the target
  // package's users), a changed body is left to the body phase.
  void UpdateFrom(TPkgData& target);
  bool IsCompared() const { return Compared; }
  // Master package: the body (or, when the master has none, the removal of
  // the target's body) is still to be written.
  bool IsBodyPending() const { return BodyPending; }
  // Writes the pending body statement.
  void WritePendingBody();
  // Whether this run compares descriptions.
  bool ComparesDescriptions() const;
  // Target package whose body uses an object that changes or goes: a
  // package the master has loses its body now (the master's body is written
  // again in the body phase); one the master lacks is dropped now.
  bool ReleaseUse(TDbObj& used) override;

 private:
  // Empties or drops what uses this (target) package, grants aside.
  void ReleaseUsers();

  // Whether the target package's body still exists on the server.
  bool HasBodyNow() const { return !Body.empty() && !BodyDropped; }

  bool Compared = false;
  bool BodyPending = false;
  bool BodyDropped = false;  // target: its body was dropped by ReleaseUse
  bool TargetHasBody = false;  // master: the target's body exists when compared
};

// Comparison phases, for an InterBase/Firebird or Oracle target.
// Target packages the master does not have.
void DropPackages(TCompareContext& ctx);
// Headers of master packages the target does not have.
void CreatePackages(TCompareContext& ctx);
// Headers of packages whose header changed; bodies that changed are marked.
void AlterPackages(TCompareContext& ctx);
// Bodies of new and changed packages.
void CreatePackageBodies(TCompareContext& ctx);
