// Base of every database object: identity, texts, the link to the same object
// in the other database, the two dependency lists, and the twenty virtual
// operations each kind overrides (DDL texts, the dependency-ordered create and
// drop walks, comments, name quoting, description statements).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/kvtTypes.h"

class TObjs;
class TCustomSQLExec;
class TIBServerOptions;
class TDependObj;

// The object lists of a container, one per family of kinds, in the order in
// which the container places a new object's class (see the list descriptors
// in kvtDBStructure). A kind names its list through TDbObj::GetListId.
enum TObjListId : uint8_t {
  olFnc, olDmn, olTbl, olViw, olPrc, olTrg, olIdx, olGnr, olCtr, olExc, olGnt,
  olDef, olRul, olPkg, olRol, olPbl, olSch, olOpr, olOpc, olCnv, olEvt, olClt,
  olCount,
  olNone = 0xFF  // not a list object: columns, parameters, dependency records
};

// Dependency records of one object, in the order they were recorded.
// Each record's Name is the text of the entry (the object at the other end).
using TDependList = std::vector<std::unique_ptr<TDependObj>>;

class TDbObj {
 public:
  explicit TDbObj(TObjs* aObjs);
  virtual ~TDbObj();
  TDbObj(const TDbObj&) = delete;
  TDbObj& operator=(const TDbObj&) = delete;

  // Name of the concrete class ("TTblData", ...), used in the drop comment and
  // in the container's "Unknown DbObject to add" message. Every kind overrides it.
  virtual const char* ClassName() const { return "TDbObj"; }

  // ---- Fields, in declaration order ----
  TDbObj* Pair = nullptr;        // same object in the other database; not owned
  std::string Description;       // comment; write through SetDescription
  std::string Body;              // definition text; write through SetBody
  TObjs* Objs = nullptr;         // owning container; not owned, may be null
  bool Exists = true;            // exists in the target at this point of the script
  TDependList UseInList;         // who uses me
  TDependList UseOfList;         // whom I use
  std::string SQLText;           // DDL cached before a comparison
  std::string CompareText;       // DDL the comparer compares (views, procedures, triggers)
  std::string Name;              // write through SetName
  std::string Schema;            // write through SetSchema
  TDbObject ObjType = dboUnknown;
  std::string AutoName;          // server-generated name; Name is then empty
  std::string StatementText;     // the whole statement the object was parsed from
  std::string Owner;             // SQL Anywhere owner, PostgreSQL OWNER TO role
  bool QuotedIdentifier = false; // MS SQL QUOTED_IDENTIFIER at definition time
  bool AnsiNulls = false;        // MS SQL ANSI_NULLS at definition time

  // ---- The twenty virtual operations, in slot order ----
  virtual bool GetExists();
  virtual void SetExists(bool value);
  virtual std::string GetDisplayName();
  virtual int GetNumber();
  virtual std::string GetListKey();
  virtual std::string GetCreateSQL();
  virtual std::string GetCompareSQL();
  virtual void CreateDependDef();
  virtual void DropDependDef();
  virtual void DropDependents();
  virtual void MarkDropped();
  virtual void CreateDependencies();
  virtual void MarkCreated();
  virtual std::string GetCreateScript();
  virtual std::string GetDropSQL();
  virtual std::string GetAlterSQL();
  virtual std::string GetSQLText();
  virtual std::string MakeComment(const std::string& text);
  virtual std::string QuoteName(const std::string& name);
  virtual std::string GetDescriptionSQL();

  // ---- What the base walks ask of a kind ----
  // Each kind answers for itself, so the base knows no kind class.
  // The container list the object belongs in; olNone for objects that live
  // inside another one (columns, parameters).
  virtual TObjListId GetListId() const { return olNone; }
  // A column-like field (table or view column, parameter, argument, base
  // column of a domain): TFldData.
  virtual bool IsFieldObject() const { return false; }
  // The master / target container as seen from this object's own: its
  // container or the partner; outside a comparison its own container; null
  // without one.
  TObjs* MasterObjs() const;
  TObjs* TargetObjs() const;
  // The object this one belongs to: a column's table or view, a parameter's
  // procedure, the table of an index, constraint or trigger (when resolved).
  virtual TDbObj* GetParentObj() const { return nullptr; }
  // That object's name as written on this one (a column's TableName, ...).
  virtual std::string GetParentName() const { return std::string(); }
  // The column of that name of a table or view; null for other kinds.
  virtual TDbObj* FindColumn(const std::string& /*name*/) { return nullptr; }
  // Calls `fn` for every column of a table or view, in column order.
  virtual void ForEachColumn(const std::function<void(TDbObj&)>& /*fn*/) {}
  // A stored function rather than a procedure (description keywords).
  virtual bool IsFunctionRoutine() const { return false; }
  // PostgreSQL: the parameter signature that identifies a routine.
  virtual std::string GetSignatureSQL() { return std::string(); }
  // MS SQL: a user type that is an XML SCHEMA COLLECTION.
  virtual bool IsXmlSchemaCollection() const { return false; }
  // Prefix of the names the MS SQL server generates for this object
  // ("PK__", ...); empty for kinds it never names.
  virtual const char* GetAutoNamePrefix() const { return ""; }
  // An object of the target that the master also has by name is never
  // dropped (tables and generators keep their data).
  virtual bool IsKeptForMaster() { return false; }
  // CreateDependDef: appends the object's creation statement to the list.
  virtual void AppendCreateStatement();
  // DropDependDef: appends the object's removal under `name` (its name, or
  // the server-generated name of an unnamed constraint). A kind whose removal
  // is no plain statement (a block, a note) appends it its own way.
  virtual void AppendDropStatement(const std::string& name);
  // CreateDependDef: appends the description statements that go with a
  // newly created object (columns; procedures and their parameters).
  virtual void AppendCreateDescriptions(TCustomSQLExec& /*exec*/) {}
  // DropDependents of `used`: this object uses `used`, which is about to go.
  // A kind that must act (empty its body, go first, go with it) does so and
  // returns true; false leaves the record to the kind's own phases.
  virtual bool ReleaseUse(TDbObj& /*used*/) { return false; }
  // CreateDependencies of `user`: `user` needs this object through the
  // pending record `r`. A kind creates itself (or a stand-in) as needed and
  // clears `r.Pending` when the record is handled.
  virtual void ProvideFor(TDbObj& /*user*/, TDependObj& /*r*/) {}
  // The container took the object into its list under `key`.
  virtual void AddedToList(const std::string& /*key*/) {}

  // ---- Non-virtual operations ----
  const std::string& GetName() const { return Name; }
  // Upper-cases for MS SQL unless its compare options keep identifier case.
  void SetName(const std::string& text);
  void SetSchema(const std::string& text);
  // Line breaks to CR LF, then leading/trailing blanks and line breaks trimmed.
  void SetDescription(const std::string& text);
  void SetBody(const std::string& text);
  TDbObject GetObjType() const { return ObjType; }
  void SetObjType(TDbObject kind) { ObjType = kind; }

  // The dialect the object renders in: its container's, or the partner's while
  // the container borrows it (UsePartnerServer). 0 without a container.
  TServerType GetServerType() const;
  // InterBase/Firebird server options of the container GetServerType uses.
  TIBServerOptions* GetServerOptions() const;
  TCmpObjSetType GetCompareObjects() const;
  TCustomSQLExec* GetSQLExec() const;
  std::string GetQualifiedName();
  // Recognises a server-generated MS SQL constraint name ("PK__T__1A2B3C4D")
  // and moves it into AutoName.
  bool DetectAutoName();
  // The object no longer uses what it recorded (its body was replaced by the
  // other side's): every record of those uses, at both ends, is handled, so
  // dropping one of those objects later leaves this one alone.
  void ReleaseUses();

  // Kind tests used by the walks and the kinds.
  bool IsTable() const { return ObjType == dboTable; }
  bool IsView() const { return ObjType == dboView; }
  bool IsProcedure() const { return ObjType == dboProcedure; }
  bool IsTrigger() const { return ObjType == dboTrigger; }
  bool IsGrant() const { return ObjType == dboGrant; }
  // A table or view column (dboField); procedure parameters are dboParam.
  bool IsColumn() const { return ObjType == dboField; }
  // A table or view column with an expression of its own.
  bool IsComputedColumn() const { return IsColumn() && !Body.empty(); }

  // Checked downcast; null when the object is not a T.
  template <class T>
  T* As() { return dynamic_cast<T*>(this); }
  template <class T>
  const T* As() const { return dynamic_cast<const T*>(this); }
};

// One dependency record: Name and ObjType describe the object at the other
// end. A record is plain data, not a database object of its own; schemas
// hold several records per object, so it stays small.
class TDependObj {
 public:
  explicit TDependObj(TObjs* /*aObjs*/) {}
  const char* ClassName() const { return "TDependObj"; }

  std::string Name;                // name of the object at the other end
  TDbObject ObjType = dboDepend;   // its kind, set by the operation that records it
  TDbObj* Obj = nullptr;           // the object at the other end; not owned
  bool Pending = true;             // still to be handled by DropDependents/CreateDependencies
  int32_t Column = 0;              // 0-based column of the reference in the script
  int32_t Line = 0;                // line of the reference in the script
};

// Records that `user` uses `used` (see the container's lists for the owner of
// the records). With a field name, the dependency goes to that column of the
// table or view `used`, and nothing is recorded when there is no such column.
void AddDependency(TObjs* container, TDbObj* user, TDbObj* used, const std::string& fieldName,
                   int column, int line);
// Like AddDependency, but records a given pair only once and resolves field
// names of tables, views, constraints, domains and procedures first.
void AddDependencyOnce(TObjs* container, TDbObj* user, TDbObj* used, const std::string& fieldName,
                       int column, int line);

// Normalisation used by SetDescription/SetBody: CR LF line breaks, trimmed.
std::string NormalizeText(const std::string& text);
// Whether NormalizeText(a) == NormalizeText(b), without building either text.
bool SameNormalizedText(std::string_view a, std::string_view b);

// Quoting of PostgreSQL and DB2 identifiers (reserved words and character rules).
bool PGNameNeedsQuotes(const std::string& name);
bool DB2NameNeedsQuotes(const std::string& name);

// ASCII case folding used for case-insensitive keys.
std::string UpperAscii(std::string s);
std::string LowerAscii(std::string s);
bool SameTextAscii(const std::string& a, const std::string& b);

// An owning list of named objects in declaration order ("string list of X,
// owned": table columns, procedure parameters, view columns, ...). An entry
// may carry no object. Lookup by name goes through a hash index that is
// rebuilt lazily after reordering; names compare case-sensitively unless
// SetCaseSensitive(false) is called.
template <class T>
class TNamedObjList {
 public:
  struct Entry {
    std::string Name;
    std::unique_ptr<T> Obj;
  };

  int Count() const { return static_cast<int>(Items.size()); }
  bool Empty() const { return Items.empty(); }
  T* operator[](int i) const { return Items[static_cast<size_t>(i)].Obj.get(); }
  T* Objects(int i) const { return Items[static_cast<size_t>(i)].Obj.get(); }
  const std::string& Names(int i) const { return Items[static_cast<size_t>(i)].Name; }

  T* Add(const std::string& name, std::unique_ptr<T> obj) {
    T* raw = obj.get();
    Items.push_back(Entry{name, std::move(obj)});
    if (!IndexDirty) IndexOfName.emplace(KeyOf(name), static_cast<int>(Items.size()) - 1);
    return raw;
  }
  void Insert(int i, const std::string& name, std::unique_ptr<T> obj) {
    Items.insert(Items.begin() + i, Entry{name, std::move(obj)});
    IndexDirty = true;
  }
  // Position of the first entry of that name, -1 when absent.
  int IndexOf(const std::string& name) const {
    if (IndexDirty) RebuildIndex();
    auto it = IndexOfName.find(KeyOf(name));
    return it == IndexOfName.end() ? -1 : it->second;
  }
  T* Find(const std::string& name) const {
    int i = IndexOf(name);
    return i < 0 ? nullptr : Items[static_cast<size_t>(i)].Obj.get();
  }
  int IndexOfObject(const T* obj) const {
    for (size_t i = 0; i < Items.size(); ++i)
      if (Items[i].Obj.get() == obj) return static_cast<int>(i);
    return -1;
  }
  void Delete(int i) {
    Items.erase(Items.begin() + i);
    IndexDirty = true;
  }
  std::unique_ptr<T> Extract(int i) {
    std::unique_ptr<T> obj = std::move(Items[static_cast<size_t>(i)].Obj);
    Delete(i);
    return obj;
  }
  void Move(int from, int to) {
    if (from == to) return;
    Entry e = std::move(Items[static_cast<size_t>(from)]);
    Items.erase(Items.begin() + from);
    Items.insert(Items.begin() + to, std::move(e));
    IndexDirty = true;
  }
  void Rename(int i, const std::string& name) {
    Items[static_cast<size_t>(i)].Name = name;
    IndexDirty = true;
  }
  void Clear() {
    Items.clear();
    IndexOfName.clear();
    IndexDirty = false;
  }
  bool CaseSensitive() const { return IsCaseSensitive; }
  void SetCaseSensitive(bool value) {
    if (value == IsCaseSensitive) return;
    IsCaseSensitive = value;
    IndexDirty = true;
  }

  auto begin() { return Items.begin(); }
  auto end() { return Items.end(); }
  auto begin() const { return Items.begin(); }
  auto end() const { return Items.end(); }

 private:
  std::string KeyOf(const std::string& name) const {
    return IsCaseSensitive ? name : UpperAscii(name);
  }
  void RebuildIndex() const {
    IndexOfName.clear();
    for (size_t i = 0; i < Items.size(); ++i)
      IndexOfName.emplace(KeyOf(Items[i].Name), static_cast<int>(i));
    IndexDirty = false;
  }

  std::vector<Entry> Items;
  bool IsCaseSensitive = true;
  mutable std::unordered_map<std::string, int> IndexOfName;
  mutable bool IndexDirty = false;
};
