// The object container of one database (TObjs) and the component around it
// (TDBStructure). The container owns every object of the database in one
// sorted list per kind, keyed by each object's GetListKey, and carries the
// database's dialect, options, partner container and statement list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

class TCustomDBStructure;
class TDBStructure;
class TCustomExtract;
class TCustomSQLExec;
class TConnectionOptions;
class TIBServerOptions;
class TMSSQLServerOptions;
class TMySQLServerOptions;
class TASAServerOptions;
class TASEServerOptions;
class TOracleServerOptions;
class TPGSQLServerOptions;
class TDB2ServerOptions;
class TFldData;
class TTblData;
class TViwData;
class TPrcData;
class TTrgData;
class TGnrData;
class TExcData;
class TIdxData;
class TUdfData;
class TDmnData;
class TPkgData;
class TCtrData;
class TSchData;
class TEvtData;
class TRolData;
class TGntData;

// What the container asks of the extractor attached to its structure: the
// name-and-kind acceptance test and the error channel for objects it cannot
// place. The extractor (TCustomExtract) implements it.
class TObjAcceptor {
 public:
  virtual ~TObjAcceptor() = default;
  virtual bool IsObjectAccepted(const std::string& name, TDbObject kind) = 0;
  virtual void ReportObjError(const std::string& text) = 0;
  // The attached structure no longer belongs to this extractor: it is being
  // destroyed, or another extractor took it over. The extractor must forget
  // it and drop whatever refers to its container.
  virtual void StructureDetached(TCustomDBStructure* structure) = 0;
};

// The order of list keys: the one comparison that sorts and searches every
// object list, close to what a user's platform shows in a sorted list.
// Letters compare without regard to case first, with punctuation and blanks
// before digits and digits before letters (so ORDER_ITEMS sorts before
// ORDERS and apple before Banana); bytes above 127 come last. When the keys
// are equal but for case, a case-sensitive comparison puts lower case first;
// a case-insensitive one calls them equal. Negative, zero or positive.
int CompareListKeys(std::string_view a, std::string_view b, bool caseSensitive);

// One object list of a container: entries (key, object) kept sorted by key,
// each key present once. Lookup by key is hashed; the sorted order, needed for
// walking the list, is restored lazily after out-of-order additions. Keys
// sort by CompareListKeys under the list's case rule.
class TObjList {
 public:
  struct Entry {
    std::string Key;
    std::unique_ptr<TDbObj> Obj;
  };

  TObjList() = default;
  TObjList(const TObjList&) = delete;
  TObjList& operator=(const TObjList&) = delete;

  int Count() const { return static_cast<int>(Items.size()); }
  bool Empty() const { return Items.empty(); }
  // Object / key at a position of the sorted order.
  TDbObj* Objects(int i) const;
  const std::string& Keys(int i) const;
  TDbObj* operator[](int i) const { return Objects(i); }

  // Takes the object when its key is not present yet; otherwise the list keeps
  // its earlier object and `obj` stays with the caller. Returns whether taken.
  bool Add(const std::string& key, std::unique_ptr<TDbObj>& obj);
  TDbObj* Find(const std::string& key) const;
  bool Contains(const std::string& key) const { return Find(key) != nullptr; }
  // Position of the key in the sorted order, -1 when absent.
  int IndexOf(const std::string& key) const;
  int IndexOfObject(const TDbObj* obj) const;
  void Delete(int i);
  std::unique_ptr<TDbObj> Extract(int i);
  void Clear();

  bool CaseSensitive() const { return IsCaseSensitive; }
  void SetCaseSensitive(bool value);
  // Order of two keys under the list's case rule.
  bool KeyLess(const std::string& a, const std::string& b) const;
  // Changes with every addition, removal or re-keying; lets callers keep
  // derived indexes and notice when they are stale.
  uint64_t Version() const { return ChangeCount; }
  // Changes with every removal, re-keying or change of the case rule, not
  // with additions: an index derived from the list stays valid across
  // additions and takes in the objects of AddedObjects past what it has seen.
  uint64_t RemovalVersion() const { return RemovalCount; }
  // The objects in the order they were added; a removal keeps the order of
  // the objects that stay.
  const std::vector<TDbObj*>& AddedObjects() const { return AddOrder; }
  // Recomputes every entry's key with the object's GetListKey and sorts again.
  void ReKey();

  // Walk in sorted order. An addition during a range-for walk may move the
  // entries; walks that add objects go by index (Count/Objects).
  const std::vector<Entry>& Entries() const;
  auto begin() const { return Entries().begin(); }
  auto end() const { return Entries().end(); }

 private:
  std::string IndexKey(const std::string& key) const;
  void EnsureSorted() const;
  void RebuildIndex();

  mutable std::vector<Entry> Items;
  mutable bool Unsorted = false;
  mutable size_t SortedCount = 0;  // leading entries known to be in order
  // Hashes keys and views alike, so a lookup under a case-sensitive rule
  // needs no copy of the key.
  struct TKeyHash {
    using is_transparent = void;
    size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
  };
  std::unordered_map<std::string, TDbObj*, TKeyHash, std::equal_to<>> Index;
  bool IsCaseSensitive = true;
  uint64_t ChangeCount = 0;
  uint64_t RemovalCount = 0;
  std::vector<TDbObj*> AddOrder;
  // After a change that is no addition: counts it and restarts AddOrder.
  void NoteRemoval();
};

class TCustomObjs;

// What the container knows about one of its lists. The table of descriptors
// (ListDescriptors, indexed by TObjListId, in the order the container places
// classes) is the one place that names the lists: adding an object, walking
// all lists, the case rule, pairing, existence flags and cached texts read it.
struct TListDescriptor {
  TObjListId Id;
  const char* Name;              // "TblList", ...
  TObjList TCustomObjs::*List;   // the list in the container
  bool FollowsServerCase;        // case-insensitive for SQL Anywhere, MS SQL, ASE; else always sensitive
  bool CachesTexts;              // views, procedures, triggers: compare texts cached before comparing
};
extern const TListDescriptor ListDescriptors[olCount];

// State a kind keeps about one list of a container (lookup indexes beyond
// the list's own), freed with the container's objects.
class TListCache {
 public:
  virtual ~TListCache() = default;
};

class TCustomObjs {
 public:
  TCustomObjs();
  virtual ~TCustomObjs();
  TCustomObjs(const TCustomObjs&) = delete;
  TCustomObjs& operator=(const TCustomObjs&) = delete;

  // ---- Fields, in declaration order ----
  TCustomDBStructure* Owner = nullptr;  // structure that owns the container
  TObjs* Partner = nullptr;             // the other database's container during a comparison
  TCmpObjSetType CompareObjects;        // families the current run compares
  std::unique_ptr<TConnectionOptions> ConnectionOptions;
  std::unique_ptr<TIBServerOptions> IBServerOptions;
  std::unique_ptr<TMSSQLServerOptions> MSSQLServerOptions;
  std::unique_ptr<TMySQLServerOptions> MySQLServerOptions;
  std::unique_ptr<TASAServerOptions> ASAServerOptions;
  std::unique_ptr<TASEServerOptions> ASEServerOptions;
  std::unique_ptr<TOracleServerOptions> OracleServerOptions;
  std::unique_ptr<TPGSQLServerOptions> PGSQLServerOptions;
  std::unique_ptr<TDB2ServerOptions> DB2ServerOptions;
  TServerType ServerType = srvNone;
  uint8_t Role = 0;                    // 0 none, 1 master, 2 target

  // The master (role 1) or target (role 2) container as seen from this one:
  // itself or its partner; null when neither plays that role.
  TObjs* MasterSide() { return SideWithRole(1); }
  TObjs* TargetSide() { return SideWithRole(2); }
  TObjs* SideWithRole(uint8_t role);
  // The same, but outside a comparison (no roles set) this container itself.
  TObjs* MasterOrSelf();
  TObjs* TargetOrSelf();
  TCustomSQLExec* SQLExec = nullptr;   // statement list of the running comparison
  TAccept_ObjEvent OnAcceptObject;     // final say in AddObj; Sender is the container
  TObjAcceptor* Extractor = nullptr;   // used when the owning structure has none
  bool UsePartnerServer = false;       // objects render in the partner's dialect

  TObjList SchList;
  TObjList DmnList;
  TObjList FncList;
  TObjList TrgList;
  TObjList PrcList;
  TObjList TblList;
  TObjList ExcList;
  TObjList GnrList;
  TObjList IdxList;
  TObjList ViwList;
  TObjList RolList;
  TObjList GntList;
  TObjList CtrList;
  TObjList RulList;
  TObjList DefList;
  TObjList PkgList;
  TObjList PblList;
  TObjList OprList;
  TObjList OpcList;
  TObjList CnvList;
  TObjList EvtList;
  TObjList CltList;

  std::string CurrentSchema;  // schema last selected in a generated DB2 script
  std::string WorkText1;      // parser scratch texts
  std::string WorkText2;

  // ---- Operations ----
  // Hands a parsed object to the container. Returns true when the object was
  // taken into its list (`obj` is then empty). A rejected object is freed when
  // freeIfRejected is set; an object whose key is already present stays with
  // the caller.
  bool AddObj(std::unique_ptr<TDbObj>& obj, bool freeIfRejected);
  template <class T>
  bool AddObj(std::unique_ptr<T>& obj, bool freeIfRejected) {
    std::unique_ptr<TDbObj> base(obj.release());
    bool added = AddObj(base, freeIfRejected);
    obj.reset(static_cast<T*>(base.release()));
    return added;
  }

  TDmnData* FindDomain(const std::string& key) const;
  TTblData* FindTable(const std::string& key) const;
  TViwData* FindView(const std::string& key) const;
  TPrcData* FindProcedure(const std::string& key) const;
  TTrgData* FindTrigger(const std::string& key) const;
  TGnrData* FindGenerator(const std::string& key) const;
  TExcData* FindException(const std::string& key) const;
  TIdxData* FindIndex(const std::string& key) const;
  TUdfData* FindFunction(const std::string& key) const;
  TPkgData* FindPackage(const std::string& key) const;
  TCtrData* FindConstraint(const std::string& key) const;
  TSchData* FindSchema(const std::string& key) const;
  TEvtData* FindEvent(const std::string& key) const;
  TFldData* FindTableField(const std::string& tableKey, const std::string& column) const;
  TFldData* FindViewField(const std::string& viewKey, const std::string& column) const;
  TFldData* FindProcParam(const std::string& procKey, const std::string& name) const;
  // First role, login or user in list order with exactly this name (not by
  // key). Hashed by name; a role's name and kind are set before it is added.
  TRolData* FindRole(const std::string& name) const;
  TRolData* FindLogin(const std::string& name) const;
  TRolData* FindUser(const std::string& name) const;

  // Adds a grant or merges it into an equal one. Returns the grant when it was
  // added (the container now owns it, `grant` is empty); null when it was
  // merged or not taken (`grant` then stays with the caller).
  TGntData* MergeGrant(std::unique_ptr<TGntData>& grant);
  void ReKeyGrants();
  // Removes every dependency record that points at `column` (which is about
  // to be freed). Every such record has its twin in the column's own lists,
  // so only the objects linked to the column are visited.
  void RemoveFieldDependencies(TDbObj* column);
  void SetServerType(TServerType type);
  std::string GetServerVersionText() const;
  int GetTargetODSMajor() const;
  // SQLText and CompareText of every view, procedure and trigger, rendered
  // in the target's dialect (a master container borrows its partner's).
  void CacheTexts();
  // Frees every object and resets the database options of InterBase, MS SQL
  // and SQL Anywhere. Server versions and compare options are configuration
  // (the comparer copies its compare options in before the extractor clears
  // the structure), so they keep their values.
  virtual void Clear();

  // Every list, in the order AddObj tests the classes (SchList included).
  std::vector<TObjList*> AllLists();
  TObjList& List(TObjListId id) { return this->*ListDescriptors[id].List; }
  const TObjList& List(TObjListId id) const { return this->*ListDescriptors[id].List; }

  // The objects of list `id` (indexes, constraints, triggers, ...) whose
  // parent name (GetParentName) is `table`, in list order, under the list's
  // case rule. Built on first use and again only after the list changed, so
  // phases that visit many tables do not scan the list once per table.
  const std::vector<TDbObj*>& ObjectsOnTable(TObjListId id, const std::string& table) const;

  // The cache a kind keeps for list `id`, created on first use.
  template <class C>
  C& ListCache(TObjListId id) const {
    std::unique_ptr<TListCache>& slot = ListCaches[id];
    if (!slot) slot = std::make_unique<C>();
    return static_cast<C&>(*slot);
  }

  TObjAcceptor* GetExtractor() const;

 private:
  struct TTableIndex;
  void ReportError(const std::string& text);
  TObjList* ListFor(TDbObj* obj);
  void FreeObjects();

  mutable std::unique_ptr<TListCache> ListCaches[olCount];
  mutable std::unique_ptr<TTableIndex> TableIndexes[olCount];
};

// The object of a list under `key` when it is a T; null otherwise.
template <class T>
T* FindIn(const TObjList& list, const std::string& key) {
  TDbObj* obj = list.Find(key);
  return obj ? obj->As<T>() : nullptr;
}

class TObjs : public TCustomObjs {
 public:
  TObjs() = default;
};

class TCustomDBStructure {
 public:
  TCustomDBStructure() = default;
  // Tells the attached extractor, so it never keeps a dangling structure.
  virtual ~TCustomDBStructure();
  TCustomDBStructure(const TCustomDBStructure&) = delete;
  TCustomDBStructure& operator=(const TCustomDBStructure&) = delete;

  TObjs* Objs = nullptr;              // created and owned by TDBStructure
  TObjAcceptor* Extractor = nullptr;  // extractor attached to the structure

  virtual void Clear();

 protected:
  void NotifyExtractorDetached();
};

class TDBStructure : public TCustomDBStructure {
 public:
  TDBStructure();
  ~TDBStructure() override;

  // Option properties: reading gives the container's object; writing copies
  // the given values into it (the container keeps its object).
  TIBServerOptions* GetIBServerOptions() const;
  void SetIBServerOptions(const TIBServerOptions& value);
  TASAServerOptions* GetASAServerOptions() const;
  void SetASAServerOptions(const TASAServerOptions& value);
  TASEServerOptions* GetASEServerOptions() const;
  void SetASEServerOptions(const TASEServerOptions& value);
  TMySQLServerOptions* GetMySQLServerOptions() const;
  void SetMySQLServerOptions(const TMySQLServerOptions& value);
  TMSSQLServerOptions* GetMSSQLServerOptions() const;
  void SetMSSQLServerOptions(const TMSSQLServerOptions& value);
  TOracleServerOptions* GetOracleServerOptions() const;
  void SetOracleServerOptions(const TOracleServerOptions& value);
  TPGSQLServerOptions* GetPGSQLServerOptions() const;
  void SetPGSQLServerOptions(const TPGSQLServerOptions& value);
  TDB2ServerOptions* GetDB2ServerOptions() const;
  void SetDB2ServerOptions(const TDB2ServerOptions& value);

 private:
  std::unique_ptr<TObjs> OwnedObjs;
};
