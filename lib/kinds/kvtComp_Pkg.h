// Packages.
#pragma once

#include <string>

#include "core/kvtClasses.h"

// A package (Firebird 3.0 and later, Oracle): one object carries both the
// header and the body statement. Its DDL and comparison phases are added with
// the package kind. The base Body holds the body text after the package
// name; empty when the package has no body.
class TPkgData : public TDbObj {
 public:
  explicit TPkgData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboPackage; }
  const char* ClassName() const override { return "TPkgData"; }
  TObjListId GetListId() const override { return olPkg; }

  // Set while the parser reads a PACKAGE BODY: the text then goes to Body,
  // otherwise to Header.
  bool IsBody = false;
  std::string Header;  // everything after the package name in the header statement
};
