// Default objects and collations.
#pragma once

#include <string>

#include "core/kvtClasses.h"

// An MS SQL default object. Its DDL and comparison phases are added with the default kind.
class TDefData : public TDbObj {
 public:
  explicit TDefData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboDefault; }
  const char* ClassName() const override { return "TDefData"; }
  TObjListId GetListId() const override { return olDef; }

  // The expression after AS; when empty the creation text is StatementText.
  std::string Expression;
};

// An InterBase/Firebird collation. Its DDL and comparison phases are added with the collation kind.
class TCltData : public TDbObj {
 public:
  explicit TCltData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboCollation; }
  const char* ClassName() const override { return "TCltData"; }
  TObjListId GetListId() const override { return olClt; }

  std::string CharacterSet;    // FOR character set
  std::string FromCollation;   // FROM base collation
  std::string ExternalName;    // FROM EXTERNAL ('name'), unquoted
  bool PadSpace = false;       // PAD SPACE; false: NO PAD
  bool CaseSensitive = true;   // CASE SENSITIVE; false: CASE INSENSITIVE
  bool AccentSensitive = true; // ACCENT SENSITIVE; false: ACCENT INSENSITIVE
  std::string Attributes;      // the attribute string, unquoted
};
