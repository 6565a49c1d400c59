// MS SQL default objects and InterBase/Firebird collations: named objects
// that stand by themselves, compared by their creation text and dropped and
// created again when it differs.
#pragma once

#include <string>

#include "core/kvtClasses.h"

struct TCompareContext;

// An MS SQL default object (CREATE DEFAULT name AS expression).
class TDefData : public TDbObj {
 public:
  explicit TDefData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboDefault; }
  const char* ClassName() const override { return "TDefData"; }
  TObjListId GetListId() const override { return olDef; }

  std::string GetCreateSQL() override;
  // The creation text, without selecting a current schema.
  std::string GetCreateScript() override { return GetCreateSQL(); }

  // The expression after AS; when empty the creation text is StatementText.
  std::string Expression;
};

// An InterBase/Firebird collation (CREATE COLLATION); other dialects have
// no creation text for it.
class TCltData : public TDbObj {
 public:
  explicit TCltData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboCollation; }
  const char* ClassName() const override { return "TCltData"; }
  TObjListId GetListId() const override { return olClt; }

  std::string GetCreateSQL() override;
  std::string GetCreateScript() override { return GetCreateSQL(); }

  std::string CharacterSet;    // FOR character set
  std::string FromCollation;   // FROM base collation
  std::string ExternalName;    // FROM EXTERNAL ('name'), unquoted
  bool PadSpace = false;       // PAD SPACE; false: NO PAD
  bool CaseSensitive = true;   // CASE SENSITIVE; false: CASE INSENSITIVE
  bool AccentSensitive = true; // ACCENT SENSITIVE; false: ACCENT INSENSITIVE
  std::string Attributes;      // the attribute string, unquoted
};

// Comparison phases. The default phases run for an MS SQL target, the
// collation phases for every target.
void CreateDefaults(TCompareContext& ctx);
void AlterDefaults(TCompareContext& ctx);
void DropDefaults(TCompareContext& ctx);
void CreateCollations(TCompareContext& ctx);
void AlterCollations(TCompareContext& ctx);
void DropCollations(TCompareContext& ctx);
