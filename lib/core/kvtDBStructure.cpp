#include "core/kvtDBStructure.h"

#include <algorithm>
#include <array>
#include <exception>

#include "core/kvtDBOptions.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Def.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Exc.h"
#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Rul.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"

// ---------------------------------------------------------------------------
// TObjList

namespace {
// ASCII case-insensitive three-way comparison (upper-case folding).
int CompareTextAscii(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}
}  // namespace

std::string TObjList::IndexKey(const std::string& key) const {
  return IsCaseSensitive ? key : UpperAscii(key);
}

bool TObjList::KeyLess(const std::string& a, const std::string& b) const {
  if (IsCaseSensitive) return a < b;
  const int c = CompareTextAscii(a, b);
  return c != 0 ? c < 0 : a < b;  // keys equal but for case keep a fixed order
}

void TObjList::EnsureSorted() const {
  if (!Unsorted) return;
  // Only the entries added since the last sort are out of place: sort them
  // and merge them in, so interleaved additions and walks stay linear.
  auto less = [this](const Entry& a, const Entry& b) { return KeyLess(a.Key, b.Key); };
  auto mid = Items.begin() + static_cast<std::ptrdiff_t>(std::min(SortedCount, Items.size()));
  std::stable_sort(mid, Items.end(), less);
  std::inplace_merge(Items.begin(), mid, Items.end(), less);
  SortedCount = Items.size();
  Unsorted = false;
}

void TObjList::RebuildIndex() {
  EnsureSorted();
  Index.clear();
  Index.reserve(Items.size());
  for (const Entry& e : Items) Index.emplace(IndexKey(e.Key), e.Obj.get());  // first one wins
}

const std::vector<TObjList::Entry>& TObjList::Entries() const {
  EnsureSorted();
  return Items;
}

TDbObj* TObjList::Objects(int i) const {
  EnsureSorted();
  return Items[static_cast<size_t>(i)].Obj.get();
}

const std::string& TObjList::Keys(int i) const {
  EnsureSorted();
  return Items[static_cast<size_t>(i)].Key;
}

bool TObjList::Add(const std::string& key, std::unique_ptr<TDbObj>& obj) {
  if (!obj) return false;
  auto [it, inserted] = Index.emplace(IndexKey(key), obj.get());
  if (!inserted) return false;
  // Scripts usually list objects in key order; appending keeps the list sorted
  // then, and anything else is sorted once when the order is next needed.
  if (!Unsorted && !Items.empty() && !KeyLess(Items.back().Key, key)) Unsorted = true;
  Items.push_back(Entry{key, std::move(obj)});
  if (!Unsorted) SortedCount = Items.size();
  ++ChangeCount;
  return true;
}

TDbObj* TObjList::Find(const std::string& key) const {
  auto it = Index.find(IndexKey(key));
  return it == Index.end() ? nullptr : it->second;
}

int TObjList::IndexOf(const std::string& key) const {
  TDbObj* obj = Find(key);
  if (!obj) return -1;
  EnsureSorted();
  // The entry of `obj` sorts with its own key, which equals `key` under the
  // list's case rule; search the run of such keys.
  auto it = std::lower_bound(Items.begin(), Items.end(), key, [this](const Entry& e, const std::string& k) {
    return IsCaseSensitive ? e.Key < k : CompareTextAscii(e.Key, k) < 0;
  });
  for (; it != Items.end() && IndexKey(it->Key) == IndexKey(key); ++it)
    if (it->Obj.get() == obj) return static_cast<int>(it - Items.begin());
  return IndexOfObject(obj);
}

int TObjList::IndexOfObject(const TDbObj* obj) const {
  EnsureSorted();
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i].Obj.get() == obj) return static_cast<int>(i);
  return -1;
}

void TObjList::Delete(int i) { Extract(i); }

std::unique_ptr<TDbObj> TObjList::Extract(int i) {
  if (i < 0 || i >= Count()) return nullptr;
  EnsureSorted();
  auto pos = Items.begin() + i;
  std::unique_ptr<TDbObj> obj = std::move(pos->Obj);
  const std::string key = pos->Key;
  Items.erase(pos);
  SortedCount = Items.size();
  auto it = Index.find(IndexKey(key));
  if (it != Index.end() && it->second == obj.get()) {
    Index.erase(it);
    // Another entry may share the key under the case rule (after a re-key).
    for (const Entry& e : Items)
      if (IndexKey(e.Key) == IndexKey(key)) {
        Index.emplace(IndexKey(key), e.Obj.get());
        break;
      }
  }
  ++ChangeCount;
  return obj;
}

void TObjList::Clear() {
  Items.clear();
  Index.clear();
  Unsorted = false;
  SortedCount = 0;
  ++ChangeCount;
}

void TObjList::SetCaseSensitive(bool value) {
  if (value == IsCaseSensitive) return;
  IsCaseSensitive = value;
  Unsorted = true;
  SortedCount = 0;
  RebuildIndex();
  ++ChangeCount;
}

void TObjList::ReKey() {
  for (Entry& e : Items) e.Key = e.Obj->GetListKey();
  Unsorted = true;
  SortedCount = 0;
  RebuildIndex();
  ++ChangeCount;
}

// ---------------------------------------------------------------------------
// TCustomObjs

// Grants grouped by (object, grantee, grant option), each group in list order,
// so MergeGrant looks only at the grants it could merge with.
struct TCustomObjs::TGrantIndex {
  uint64_t Version = ~uint64_t{0};
  std::unordered_map<std::string, std::vector<std::pair<std::string, TGntData*>>> Groups;

  static std::string GroupKey(const TGntData& g) {
    return g.ObjectName + '\x01' + g.Grantee + '\x01' + std::to_string(g.GrantOption);
  }
};

// Per name, the first role, login and user in RolList order (slot = role
// kind), with the entry key that places it in that order.
struct TCustomObjs::TRoleIndex {
  struct Slot {
    std::string Key;
    TRolData* Obj = nullptr;
  };
  uint64_t Version = ~uint64_t{0};
  std::unordered_map<std::string, std::array<Slot, 3>> Names;
};

TCustomObjs::TCustomObjs()
    : ConnectionOptions(std::make_unique<TConnectionOptions>()),
      IBServerOptions(std::make_unique<TIBServerOptions>()),
      MSSQLServerOptions(std::make_unique<TMSSQLServerOptions>()),
      MySQLServerOptions(std::make_unique<TMySQLServerOptions>()),
      ASAServerOptions(std::make_unique<TASAServerOptions>()),
      ASEServerOptions(std::make_unique<TASEServerOptions>()),
      OracleServerOptions(std::make_unique<TOracleServerOptions>()),
      PGSQLServerOptions(std::make_unique<TPGSQLServerOptions>()),
      DB2ServerOptions(std::make_unique<TDB2ServerOptions>()),
      GrantIndex(std::make_unique<TGrantIndex>()),
      RoleIndex(std::make_unique<TRoleIndex>()) {}

TCustomObjs::~TCustomObjs() {
  FreeObjects();
  if (Partner && Partner->Partner == this) Partner->Partner = nullptr;
}

std::vector<TObjList*> TCustomObjs::AllLists() {
  return {&FncList, &DmnList, &TblList, &ViwList, &PrcList, &TrgList, &IdxList, &GnrList,
          &CtrList, &ExcList, &GntList, &DefList, &RulList, &PkgList, &RolList, &PblList,
          &SchList, &OprList, &OpcList, &CnvList, &EvtList, &CltList};
}

TObjAcceptor* TCustomObjs::GetExtractor() const {
  if (Owner && Owner->Extractor) return Owner->Extractor;
  return Extractor;
}

void TCustomObjs::ReportError(const std::string& text) {
  if (TObjAcceptor* ex = GetExtractor()) ex->ReportObjError(text);
}

TObjList* TCustomObjs::ListFor(TDbObj* obj) {
  // Tested in this order so that a derived class goes where its first
  // matching ancestor goes.
  if (obj->As<TUdfData>()) return &FncList;
  if (obj->As<TDmnData>()) return &DmnList;
  if (obj->As<TTblData>()) return &TblList;
  if (obj->As<TViwData>()) return &ViwList;
  if (obj->As<TPrcData>()) return &PrcList;
  if (obj->As<TTrgData>()) return &TrgList;
  if (obj->As<TIdxData>()) return &IdxList;
  if (obj->As<TGnrData>()) return &GnrList;
  if (obj->As<TCtrData>()) return &CtrList;
  if (obj->As<TExcData>()) return &ExcList;
  if (obj->As<TGntData>()) return &GntList;
  if (obj->As<TDefData>()) return &DefList;
  if (obj->As<TRulData>()) return &RulList;
  if (obj->As<TPkgData>()) return &PkgList;
  if (obj->As<TRolData>()) return &RolList;
  if (obj->As<TPblData>()) return &PblList;
  if (obj->As<TSchData>()) return &SchList;
  if (obj->As<TOprData>()) return &OprList;
  if (obj->As<TOpcData>()) return &OpcList;
  if (obj->As<TCnvData>()) return &CnvList;
  if (obj->As<TEvtData>()) return &EvtList;
  if (obj->As<TCltData>()) return &CltList;
  return nullptr;
}

bool TCustomObjs::AddObj(std::unique_ptr<TDbObj>& obj, bool freeIfRejected) {
  if (!obj) return false;
  try {
    bool accept = true;
    if (TObjAcceptor* ex = GetExtractor()) accept = ex->IsObjectAccepted(obj->Name, obj->ObjType);
    if (OnAcceptObject) OnAcceptObject(this, obj.get(), accept);
    if (accept && ServerType == srvInterBase &&
        IBServerOptions->IBCompareOptions->IgnoreIBEObjects && obj->Name.rfind("IBE$", 0) == 0)
      accept = false;
    if (!accept) {
      if (freeIfRejected) obj.reset();
      return false;
    }
    TObjList* list = ListFor(obj.get());
    if (!list) {
      ReportError(std::string("Unknown DbObject to add (") + obj->ClassName() + ")");
      if (freeIfRejected) obj.reset();
      return false;
    }
    const std::string key = obj->GetListKey();
    // Keep the role index current without a rebuild per added role.
    TRolData* rol = list == &RolList ? obj->As<TRolData>() : nullptr;
    const bool roleIndexCurrent = rol && RoleIndex->Version == RolList.Version();
    if (!list->Add(key, obj)) return false;
    if (roleIndexCurrent) IndexAddedRole(rol, key);
    return true;
  } catch (const std::exception& e) {
    ReportError(std::string("Object not added: ") + e.what());
    return false;
  } catch (...) {
    ReportError("Object not added.");
    return false;
  }
}

namespace {
template <class T>
T* FindIn(const TObjList& list, const std::string& key) {
  TDbObj* obj = list.Find(key);
  return obj ? obj->As<T>() : nullptr;
}
}  // namespace

TDmnData* TCustomObjs::FindDomain(const std::string& key) const { return FindIn<TDmnData>(DmnList, key); }
TTblData* TCustomObjs::FindTable(const std::string& key) const { return FindIn<TTblData>(TblList, key); }
TViwData* TCustomObjs::FindView(const std::string& key) const { return FindIn<TViwData>(ViwList, key); }
TPrcData* TCustomObjs::FindProcedure(const std::string& key) const { return FindIn<TPrcData>(PrcList, key); }
TTrgData* TCustomObjs::FindTrigger(const std::string& key) const { return FindIn<TTrgData>(TrgList, key); }
TGnrData* TCustomObjs::FindGenerator(const std::string& key) const { return FindIn<TGnrData>(GnrList, key); }
TExcData* TCustomObjs::FindException(const std::string& key) const { return FindIn<TExcData>(ExcList, key); }
TIdxData* TCustomObjs::FindIndex(const std::string& key) const { return FindIn<TIdxData>(IdxList, key); }
TUdfData* TCustomObjs::FindFunction(const std::string& key) const { return FindIn<TUdfData>(FncList, key); }
TPkgData* TCustomObjs::FindPackage(const std::string& key) const { return FindIn<TPkgData>(PkgList, key); }
TCtrData* TCustomObjs::FindConstraint(const std::string& key) const { return FindIn<TCtrData>(CtrList, key); }
TSchData* TCustomObjs::FindSchema(const std::string& key) const { return FindIn<TSchData>(SchList, key); }
TEvtData* TCustomObjs::FindEvent(const std::string& key) const { return FindIn<TEvtData>(EvtList, key); }

TFldData* TCustomObjs::FindTableField(const std::string& tableKey, const std::string& column) const {
  TTblData* tbl = FindTable(tableKey);
  return tbl ? tbl->FindField(column) : nullptr;
}

TFldData* TCustomObjs::FindViewField(const std::string& viewKey, const std::string& column) const {
  TViwData* viw = FindView(viewKey);
  return viw ? viw->Columns.Find(column) : nullptr;
}

TFldData* TCustomObjs::FindProcParam(const std::string& procKey, const std::string& name) const {
  TPrcData* prc = FindProcedure(procKey);
  if (!prc) return nullptr;
  if (TFldData* p = prc->Params.Find(name)) return p;
  return prc->Results.Find(name);
}

void TCustomObjs::RebuildRoleIndex() const {
  TRoleIndex& ri = *RoleIndex;
  ri.Names.clear();
  for (const auto& e : RolList) {
    auto* rol = e.Obj->As<TRolData>();
    if (!rol || rol->RoleKind > rkUser) continue;
    TRoleIndex::Slot& slot = ri.Names[rol->Name][rol->RoleKind];
    if (!slot.Obj) slot = TRoleIndex::Slot{e.Key, rol};  // walked in list order: first wins
  }
  ri.Version = RolList.Version();
}

void TCustomObjs::IndexAddedRole(TRolData* rol, const std::string& key) {
  if (rol->RoleKind <= rkUser) {
    TRoleIndex::Slot& slot = RoleIndex->Names[rol->Name][rol->RoleKind];
    if (!slot.Obj || RolList.KeyLess(key, slot.Key)) slot = TRoleIndex::Slot{key, rol};
  }
  RoleIndex->Version = RolList.Version();
}

TRolData* TCustomObjs::FindRoleOfKind(const std::string& name, uint8_t kind) const {
  TRoleIndex& ri = *RoleIndex;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt > 0 || ri.Version != RolList.Version()) RebuildRoleIndex();
    auto it = ri.Names.find(name);
    if (it == ri.Names.end()) return nullptr;
    TRolData* rol = it->second[kind].Obj;
    // A role renamed or re-kinded after it was indexed: index again.
    if (!rol || (rol->Name == name && rol->RoleKind == kind)) return rol;
  }
  return nullptr;
}

TRolData* TCustomObjs::FindRole(const std::string& name) const { return FindRoleOfKind(name, rkRole); }
TRolData* TCustomObjs::FindLogin(const std::string& name) const { return FindRoleOfKind(name, rkLogin); }
TRolData* TCustomObjs::FindUser(const std::string& name) const { return FindRoleOfKind(name, rkUser); }

TGntData* TCustomObjs::MergeGrant(std::unique_ptr<TGntData>& grant) {
  if (!grant) return nullptr;
  try {
    TGrantIndex& gi = *GrantIndex;
    if (gi.Version != GntList.Version()) {
      gi.Groups.clear();
      for (const auto& e : GntList)
        if (auto* g = e.Obj->As<TGntData>())
          gi.Groups[TGrantIndex::GroupKey(*g)].emplace_back(e.Key, g);
      gi.Version = GntList.Version();
    }
    const std::string groupKey = TGrantIndex::GroupKey(*grant);
    auto& group = gi.Groups[groupKey];
    for (auto& [key, g] : group) {
      const bool gHasColumns = !g->Columns.empty();
      const bool newHasColumns = !grant->Columns.empty();
      if (!gHasColumns && !newHasColumns) {
        g->Privileges |= grant->Privileges;
        return nullptr;
      }
      if (g->Privileges != grant->Privileges && gHasColumns && newHasColumns) {
        for (const std::string& c : grant->Columns)
          if (std::find(g->Columns.begin(), g->Columns.end(), c) == g->Columns.end())
            g->Columns.push_back(c);
        return nullptr;
      }
    }
    const std::string key = grant->GetListKey();
    TGntData* raw = grant.get();
    std::unique_ptr<TDbObj> base(grant.release());
    const bool added = GntList.Add(key, base);
    grant.reset(static_cast<TGntData*>(base.release()));
    if (!added) return nullptr;
    // Keep the group in list order without rebuilding the whole index.
    auto pos = std::upper_bound(group.begin(), group.end(), key,
                                [this](const std::string& k, const auto& entry) {
                                  return GntList.KeyLess(k, entry.first);
                                });
    group.emplace(pos, key, raw);
    gi.Version = GntList.Version();
    return raw;
  } catch (...) {
    return nullptr;
  }
}

void TCustomObjs::ReKeyGrants() { GntList.ReKey(); }

namespace {
void RemoveRecordsTo(TDependList& list, const TDbObj* column) {
  list.erase(std::remove_if(list.begin(), list.end(),
                            [column](const std::unique_ptr<TDependObj>& r) { return r->Obj == column; }),
             list.end());
}
void RemoveRecordsTo(TDbObj* obj, const TDbObj* column) {
  RemoveRecordsTo(obj->UseOfList, column);
  RemoveRecordsTo(obj->UseInList, column);
}
}  // namespace

void TCustomObjs::RemoveFieldDependencies(TDbObj* column) {
  if (!column) return;
  for (TObjList* list : {&DmnList, &FncList, &ViwList, &TblList, &PrcList, &TrgList, &CtrList,
                         &ExcList, &GnrList, &IdxList}) {
    for (const auto& e : *list) {
      RemoveRecordsTo(e.Obj.get(), column);
      if (auto* tbl = e.Obj->As<TTblData>())
        for (auto& f : tbl->Fields)
          if (f.Obj) RemoveRecordsTo(f.Obj.get(), column);
    }
  }
}

TObjs* TCustomObjs::SideWithRole(uint8_t role) {
  if (Role == role) return static_cast<TObjs*>(this);
  if (Partner && Partner->Role == role) return Partner;
  return nullptr;
}

void TCustomObjs::SetServerType(TServerType type) {
  ServerType = type;
  const bool caseSensitive = !(type == srvASA || type == srvMSSQL || type == srvASE);
  for (TObjList* list : {&DmnList, &FncList, &TrgList, &PrcList, &TblList, &ExcList, &GnrList,
                         &IdxList, &ViwList, &RolList, &GntList, &CtrList, &RulList, &DefList,
                         &PkgList, &PblList, &CltList})
    list->SetCaseSensitive(caseSensitive);
}

std::string TCustomObjs::GetServerVersionText() const {
  int version = -1;
  switch (ServerType) {
    case srvInterBase: version = IBServerOptions->SQLServerVersion; break;
    case srvASA: version = ASAServerOptions->SQLServerVersion; break;
    case srvMySQL: version = MySQLServerOptions->SQLServerVersion; break;
    case srvOracle: version = OracleServerOptions->SQLServerVersion; break;
    case srvMSSQL: version = MSSQLServerOptions->SQLServerVersion; break;
    case srvPostgreSQL: version = PGSQLServerOptions->SQLServerVersion; break;
    case srvDB2: version = DB2ServerOptions->SQLServerVersion; break;
    case srvASE: version = ASEServerOptions->SQLServerVersion; break;
    default: return std::string();
  }
  const char* name = GetServerVersionName(ServerType, version);
  if (!name || !*name) return std::string();
  return std::string("Server Version (user defined): ") + name;
}

int TCustomObjs::GetTargetODSMajor() const {
  const TCustomObjs* target = nullptr;
  if (Role == 2)
    target = this;
  else if (Partner && Partner->Role == 2)
    target = Partner;
  return target ? target->IBServerOptions->IBDatabaseOptions->ODSMajor : 0;
}

void TCustomObjs::CacheTexts() {
  for (TObjList* list : {&ViwList, &PrcList, &TrgList})
    for (const auto& e : *list) {
      e.Obj->SQLText = e.Obj->GetCreateSQL();
      e.Obj->CompareText = e.Obj->GetCreateSQL();
    }
}

void TCustomObjs::FreeObjects() {
  // Objects of the other database must not keep pointing at objects freed here.
  if (Partner)
    for (TObjList* list : Partner->AllLists())
      for (const auto& e : *list)
        if (e.Obj->Pair && e.Obj->Pair->Objs == this) e.Obj->Pair = nullptr;
  for (TObjList* list : AllLists()) list->Clear();
  GrantIndex->Groups.clear();
  GrantIndex->Version = ~uint64_t{0};
  RoleIndex->Names.clear();
  RoleIndex->Version = ~uint64_t{0};
}

void TCustomObjs::Clear() {
  FreeObjects();
  IBServerOptions->IBDatabaseOptions->Clear();
  MSSQLServerOptions->MSSQLDatabaseOptions->Clear();
  ASAServerOptions->ASADatabaseOptions->Clear();
  CurrentSchema.clear();
  WorkText1.clear();
  WorkText2.clear();
}

// ---------------------------------------------------------------------------
// Structures

void TCustomDBStructure::Clear() {
  if (Objs) Objs->Clear();
}

TDBStructure::TDBStructure() : OwnedObjs(std::make_unique<TObjs>()) {
  Objs = OwnedObjs.get();
  Objs->Owner = this;
}

TCustomDBStructure::~TCustomDBStructure() { NotifyExtractorDetached(); }

void TCustomDBStructure::NotifyExtractorDetached() {
  TObjAcceptor* extractor = Extractor;
  Extractor = nullptr;
  if (extractor) extractor->StructureDetached(this);
}

// The extractor is told before the container goes, while its parser may
// still refer to it.
TDBStructure::~TDBStructure() {
  NotifyExtractorDetached();
  Objs = nullptr;
}

TIBServerOptions* TDBStructure::GetIBServerOptions() const {
  return Objs ? Objs->IBServerOptions.get() : nullptr;
}
void TDBStructure::SetIBServerOptions(const TIBServerOptions& value) {
  if (Objs) Objs->IBServerOptions->Assign(value);
}
TASAServerOptions* TDBStructure::GetASAServerOptions() const {
  return Objs ? Objs->ASAServerOptions.get() : nullptr;
}
void TDBStructure::SetASAServerOptions(const TASAServerOptions& value) {
  if (Objs) Objs->ASAServerOptions->Assign(value);
}
TASEServerOptions* TDBStructure::GetASEServerOptions() const {
  return Objs ? Objs->ASEServerOptions.get() : nullptr;
}
void TDBStructure::SetASEServerOptions(const TASEServerOptions& value) {
  if (Objs) Objs->ASEServerOptions->Assign(value);
}
TMySQLServerOptions* TDBStructure::GetMySQLServerOptions() const {
  return Objs ? Objs->MySQLServerOptions.get() : nullptr;
}
void TDBStructure::SetMySQLServerOptions(const TMySQLServerOptions& value) {
  if (Objs) Objs->MySQLServerOptions->Assign(value);
}
TMSSQLServerOptions* TDBStructure::GetMSSQLServerOptions() const {
  return Objs ? Objs->MSSQLServerOptions.get() : nullptr;
}
void TDBStructure::SetMSSQLServerOptions(const TMSSQLServerOptions& value) {
  if (Objs) Objs->MSSQLServerOptions->Assign(value);
}
TOracleServerOptions* TDBStructure::GetOracleServerOptions() const {
  return Objs ? Objs->OracleServerOptions.get() : nullptr;
}
void TDBStructure::SetOracleServerOptions(const TOracleServerOptions& value) {
  if (Objs) Objs->OracleServerOptions->Assign(value);
}
TPGSQLServerOptions* TDBStructure::GetPGSQLServerOptions() const {
  return Objs ? Objs->PGSQLServerOptions.get() : nullptr;
}
void TDBStructure::SetPGSQLServerOptions(const TPGSQLServerOptions& value) {
  if (Objs) Objs->PGSQLServerOptions->Assign(value);
}
TDB2ServerOptions* TDBStructure::GetDB2ServerOptions() const {
  return Objs ? Objs->DB2ServerOptions.get() : nullptr;
}
void TDBStructure::SetDB2ServerOptions(const TDB2ServerOptions& value) {
  if (Objs) Objs->DB2ServerOptions->Assign(value);
}
