#include "core/kvtTypes.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

const char* const StatementKindNames[TStatementKindCount] = {
    "Connect", "ReConnect", "CreateDb", "Set",       "BlobFile",
    "Commit",  "Statement", "Comment",  "Procedure", "Trigger",
    "SetNames", "CharSet",  "SqlDialect", "Description", "Select",
    "Insert",  "Update",    "Delete",   "ExecuteBlock", "Package"};

const char* CmpObjTypeName(TCmpObjType t) {
  static const char* const names[TCmpObjTypeCount] = {
      "Domain",     "Function",   "Generator",  "Exception",  "Table",
      "View",       "Procedure",  "Trigger",    "Index",      "Role",
      "Grant",      "RoleGrant",  "UserGrant",  "ObjGrant",   "PrimaryKey",
      "ForeignKey", "Unique",     "Check",      "Rule",       "Default",
      "CtrDefault", "Package",    "Description"};
  return t < TCmpObjTypeCount ? names[t] : "";
}

TCharSet MakeCharSet(const char* chars) {
  TCharSet s;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(chars); *p; ++p) s.set(*p);
  return s;
}

bool CharInSet(char c, const TCharSet& set) { return set.test(static_cast<unsigned char>(c)); }

bool TryParseInt(const std::string& text, int32_t& value) {
  if (text.empty()) return false;
  const char* begin = text.c_str();
  // strtoll skips leading white space; a whole-text conversion must not.
  if (std::isspace(static_cast<unsigned char>(*begin))) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(begin, &end, 10);
  if (end == begin || *end != '\0' || errno == ERANGE) return false;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int32_t>(v);
  return true;
}

std::string QualifyName(const std::string& schema, const std::string& name) {
  if (schema.empty()) return name;
  return schema + "." + name;
}

std::string DefaultTerminator(TServerType serverType) {
  switch (serverType) {
    case srvASA:
    case srvASE:
      return "\r\ngo\r\n";
    case srvMSSQL:
      return "\r\nGO\r\n";
    default:
      return ";\r\n";
  }
}

namespace {

std::string QuoteMySQL(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (char c : text) {
    switch (c) {
      case '\0': out += "\\0"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\x1a': out += "\\Z"; break;
      case '\'': out += "\\'"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return "'" + out + "'";
}

std::string QuotePostgreSQL(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (char c : text) {
    switch (c) {
      case '\'': out += "''"; break;
      case '\\': out += "\\x5c"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\0': out += "\\x00"; break;
      default: out += c;
    }
  }
  return "'" + out + "'";
}

}  // namespace

std::string QuoteLiteral(const std::string& text, TServerType serverType) {
  switch (serverType) {
    case srvMySQL:
      return QuoteMySQL(text);
    case srvPostgreSQL:
      return QuotePostgreSQL(text);
    default: {
      std::string out = "'";
      for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
      }
      return out + "'";
    }
  }
}

std::string GetStorageClause(const TTableSpace& t) {
  std::string s;
  auto num = [&s](const char* label, int32_t v) {
    if (v != 0) s += std::string(label) + std::to_string(v) + "\r\n";
  };
  num("   pctfree ", t.PctFree);
  num("   pctused ", t.PctUsed);
  num("   initrans ", t.IniTrans);
  num("   maxtrans ", t.MaxTrans);
  if (!t.Storage.empty()) s += "   storage\r\n" + t.Storage + "\r\n";
  if (!t.CacheClause.empty()) s += "   " + t.CacheClause + "\r\n";
  auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
  size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

void MergeStorage(TTableSpace& a, TTableSpace& b) {
  auto fill = [](TTableSpace& to, const TTableSpace& from) {
    if (to.PctFree == 0) to.PctFree = from.PctFree;
    if (to.PctUsed == 0) to.PctUsed = from.PctUsed;
    if (to.IniTrans == 0) to.IniTrans = from.IniTrans;
    if (to.MaxTrans == 0) to.MaxTrans = from.MaxTrans;
    if (to.Storage.empty()) to.Storage = from.Storage;
  };
  fill(a, b);
  fill(b, a);
}

std::string GetDirectiveText(const TTypeDirective& d) {
  std::string s;
  if (d.Overriding) s += "OVERRIDING ";
  if (d.NotInstantiable) s += "NOT INSTANTIABLE ";
  if (d.NotFinal) s += "NOT FINAL ";
  if (d.Instantiable) s += "INSTANTIABLE ";
  if (d.Final) s += "FINAL ";
  return s;
}
