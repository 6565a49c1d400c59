#include "core/kvtDBStructure.h"

#include <algorithm>
#include <array>
#include <exception>
#include <unordered_set>

#include "core/kvtDBOptions.h"

// ---------------------------------------------------------------------------
// TObjList

namespace {
// Sort weight of each byte: blanks, controls and punctuation first, then
// digits, then letters (either case), then bytes above 127.
struct TKeyWeights {
  uint16_t Of[256];
  constexpr TKeyWeights() : Of() {
    for (int c = 0; c < 256; ++c) {
      if (c >= '0' && c <= '9')
        Of[c] = static_cast<uint16_t>(0x100 + c);
      else if (c >= 'a' && c <= 'z')
        Of[c] = static_cast<uint16_t>(0x200 + c - 'a' + 'A');
      else if (c >= 'A' && c <= 'Z')
        Of[c] = static_cast<uint16_t>(0x200 + c);
      else if (c >= 0x80)
        Of[c] = static_cast<uint16_t>(0x300 + c);
      else
        Of[c] = static_cast<uint16_t>(c);
    }
  }
};
constexpr TKeyWeights kKeyWeights;
}  // namespace

int CompareListKeys(std::string_view a, std::string_view b, bool caseSensitive) {
  const size_t n = std::min(a.size(), b.size());
  size_t caseDiff = n;  // first position where the keys differ only in case
  for (size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;  // equal bytes weigh the same
    const uint16_t x = kKeyWeights.Of[static_cast<unsigned char>(a[i])];
    const uint16_t y = kKeyWeights.Of[static_cast<unsigned char>(b[i])];
    if (x != y) return x < y ? -1 : 1;
    if (caseDiff == n) caseDiff = i;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  if (!caseSensitive || caseDiff == n) return 0;
  // Equal but for case: at the first difference, lower case first.
  return a[caseDiff] >= 'a' && a[caseDiff] <= 'z' ? -1 : 1;
}

std::string TObjList::IndexKey(const std::string& key) const {
  return IsCaseSensitive ? key : UpperAscii(key);
}

bool TObjList::KeyLess(const std::string& a, const std::string& b) const {
  const int c = CompareListKeys(a, b, IsCaseSensitive);
  // Keys equal under a case-insensitive rule (possible after a re-key) keep
  // a fixed order.
  return c != 0 ? c < 0 : CompareListKeys(a, b, true) < 0;
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
  AddOrder.push_back(Items.back().Obj.get());
  ++ChangeCount;
  return true;
}

TDbObj* TObjList::Find(const std::string& key) const {
  auto it = IsCaseSensitive ? Index.find(std::string_view(key)) : Index.find(UpperAscii(key));
  return it == Index.end() ? nullptr : it->second;
}

int TObjList::IndexOf(const std::string& key) const {
  TDbObj* obj = Find(key);
  if (!obj) return -1;
  EnsureSorted();
  // The entry of `obj` sorts with its own key, which equals `key` under the
  // list's case rule; search the run of such keys.
  auto it = std::lower_bound(Items.begin(), Items.end(), key, [this](const Entry& e, const std::string& k) {
    return CompareListKeys(e.Key, k, IsCaseSensitive) < 0;
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
  NoteRemoval();
  return obj;
}

void TObjList::Clear() {
  Items.clear();
  Index.clear();
  Unsorted = false;
  SortedCount = 0;
  NoteRemoval();
}

void TObjList::NoteRemoval() {
  // The objects that stay keep their order of addition (a script's order).
  std::unordered_set<const TDbObj*> present;
  present.reserve(Items.size());
  for (const Entry& e : Items) present.insert(e.Obj.get());
  std::vector<TDbObj*> order;
  order.reserve(Items.size());
  for (TDbObj* o : AddOrder)
    if (present.erase(o)) order.push_back(o);
  for (const Entry& e : Items)
    if (present.erase(e.Obj.get())) order.push_back(e.Obj.get());
  AddOrder = std::move(order);
  ++RemovalCount;
  ++ChangeCount;
}

void TObjList::SetCaseSensitive(bool value) {
  if (value == IsCaseSensitive) return;
  IsCaseSensitive = value;
  Unsorted = true;
  SortedCount = 0;
  RebuildIndex();
  NoteRemoval();
}

void TObjList::ReKey() {
  for (Entry& e : Items) e.Key = e.Obj->GetListKey();
  Unsorted = true;
  SortedCount = 0;
  RebuildIndex();
  NoteRemoval();
}

// ---------------------------------------------------------------------------
// TCustomObjs

const TListDescriptor ListDescriptors[olCount] = {
    {olFnc, "FncList", &TCustomObjs::FncList, true, false},
    {olDmn, "DmnList", &TCustomObjs::DmnList, true, false},
    {olTbl, "TblList", &TCustomObjs::TblList, true, false},
    {olViw, "ViwList", &TCustomObjs::ViwList, true, true},
    {olPrc, "PrcList", &TCustomObjs::PrcList, true, true},
    {olTrg, "TrgList", &TCustomObjs::TrgList, true, true},
    {olIdx, "IdxList", &TCustomObjs::IdxList, true, false},
    {olGnr, "GnrList", &TCustomObjs::GnrList, true, false},
    {olCtr, "CtrList", &TCustomObjs::CtrList, true, false},
    {olExc, "ExcList", &TCustomObjs::ExcList, true, false},
    {olGnt, "GntList", &TCustomObjs::GntList, true, false},
    {olDef, "DefList", &TCustomObjs::DefList, true, false},
    {olRul, "RulList", &TCustomObjs::RulList, true, false},
    {olPkg, "PkgList", &TCustomObjs::PkgList, true, false},
    {olRol, "RolList", &TCustomObjs::RolList, true, false},
    {olPbl, "PblList", &TCustomObjs::PblList, true, false},
    {olSch, "SchList", &TCustomObjs::SchList, false, false},
    {olOpr, "OprList", &TCustomObjs::OprList, false, false},
    {olOpc, "OpcList", &TCustomObjs::OpcList, false, false},
    {olCnv, "CnvList", &TCustomObjs::CnvList, false, false},
    {olEvt, "EvtList", &TCustomObjs::EvtList, false, false},
    {olClt, "CltList", &TCustomObjs::CltList, true, false},
};

// Objects of one list grouped by parent name, for ObjectsOnTable. It takes
// in additions as they come (a parser asks between additions, so rebuilding
// on every change would be quadratic) and is rebuilt after a removal. Each
// group is kept in the list's key order, sorted again when it has grown.
struct TCustomObjs::TTableIndex {
  struct TGroup {
    std::vector<TDbObj*> Objs;
    bool Unsorted = false;
  };
  uint64_t RemovalVersion = ~uint64_t{0};
  size_t Seen = 0;  // leading objects of the list's AddedObjects grouped
  std::unordered_map<std::string, TGroup> ByTable;
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
      DB2ServerOptions(std::make_unique<TDB2ServerOptions>()) {}

TCustomObjs::~TCustomObjs() {
  FreeObjects();
  if (Partner && Partner->Partner == this) Partner->Partner = nullptr;
}

std::vector<TObjList*> TCustomObjs::AllLists() {
  std::vector<TObjList*> lists;
  lists.reserve(olCount);
  for (const TListDescriptor& d : ListDescriptors) lists.push_back(&(this->*d.List));
  return lists;
}

TObjAcceptor* TCustomObjs::GetExtractor() const {
  if (Owner && Owner->Extractor) return Owner->Extractor;
  return Extractor;
}

void TCustomObjs::ReportError(const std::string& text) {
  if (TObjAcceptor* ex = GetExtractor()) ex->ReportObjError(text);
}

TObjList* TCustomObjs::ListFor(TDbObj* obj) {
  const TObjListId id = obj->GetListId();
  return id < olCount ? &List(id) : nullptr;
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
    TDbObj* raw = obj.get();
    if (!list->Add(key, obj)) return false;
    raw->AddedToList(key);
    return true;
  } catch (const std::exception& e) {
    ReportError(std::string("Object not added: ") + e.what());
    return false;
  } catch (...) {
    ReportError("Object not added.");
    return false;
  }
}

const std::vector<TDbObj*>& TCustomObjs::ObjectsOnTable(TObjListId id,
                                                        const std::string& table) const {
  static const std::vector<TDbObj*> kNone;
  if (id >= olCount) return kNone;
  const TObjList& list = List(id);
  std::unique_ptr<TTableIndex>& index = TableIndexes[id];
  if (!index) index = std::make_unique<TTableIndex>();
  auto keyOf = [&list](const std::string& name) {
    return list.CaseSensitive() ? name : UpperAscii(name);
  };
  if (index->RemovalVersion != list.RemovalVersion()) {
    index->ByTable.clear();
    index->Seen = 0;
    index->RemovalVersion = list.RemovalVersion();
  }
  const std::vector<TDbObj*>& added = list.AddedObjects();
  for (; index->Seen < added.size(); ++index->Seen) {
    TDbObj* obj = added[index->Seen];
    TTableIndex::TGroup& group = index->ByTable[keyOf(obj->GetParentName())];
    if (!group.Objs.empty() && !group.Unsorted &&
        !list.KeyLess(group.Objs.back()->GetListKey(), obj->GetListKey()))
      group.Unsorted = true;
    group.Objs.push_back(obj);
  }
  auto it = index->ByTable.find(keyOf(table));
  if (it == index->ByTable.end()) return kNone;
  TTableIndex::TGroup& group = it->second;
  if (group.Unsorted) {
    std::stable_sort(group.Objs.begin(), group.Objs.end(), [&list](TDbObj* a, TDbObj* b) {
      return list.KeyLess(a->GetListKey(), b->GetListKey());
    });
    group.Unsorted = false;
  }
  return group.Objs;
}

void TCustomObjs::ReKeyGrants() { GntList.ReKey(); }

namespace {
void RemoveRecordsTo(TDependList& list, const TDbObj* column) {
  list.erase(std::remove_if(list.begin(), list.end(),
                            [column](const std::unique_ptr<TDependObj>& r) { return r->Obj == column; }),
             list.end());
}
}  // namespace

void TCustomObjs::RemoveFieldDependencies(TDbObj* column) {
  if (!column) return;
  for (const auto& r : column->UseInList)
    if (r->Obj && r->Obj != column) RemoveRecordsTo(r->Obj->UseOfList, column);
  for (const auto& r : column->UseOfList)
    if (r->Obj && r->Obj != column) RemoveRecordsTo(r->Obj->UseInList, column);
  RemoveRecordsTo(column->UseOfList, column);
  RemoveRecordsTo(column->UseInList, column);
}

TObjs* TCustomObjs::SideWithRole(uint8_t role) {
  if (Role == role) return static_cast<TObjs*>(this);
  if (Partner && Partner->Role == role) return Partner;
  return nullptr;
}

TObjs* TCustomObjs::MasterOrSelf() {
  TObjs* m = MasterSide();
  return m ? m : static_cast<TObjs*>(this);
}

TObjs* TCustomObjs::TargetOrSelf() {
  TObjs* t = TargetSide();
  return t ? t : static_cast<TObjs*>(this);
}

void TCustomObjs::SetServerType(TServerType type) {
  ServerType = type;
  const bool caseSensitive = !(type == srvASA || type == srvMSSQL || type == srvASE);
  for (const TListDescriptor& d : ListDescriptors)
    if (d.FollowsServerCase) (this->*d.List).SetCaseSensitive(caseSensitive);
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
  // The master's texts are compared with the target's, so they are rendered
  // in the target's dialect, as the master renders during the comparison.
  struct TBorrow {
    bool& Flag;
    const bool Saved;
    ~TBorrow() { Flag = Saved; }
  } borrow{UsePartnerServer, UsePartnerServer};
  if (Role == 1 && Partner) UsePartnerServer = true;
  for (const TListDescriptor& d : ListDescriptors) {
    if (!d.CachesTexts) continue;
    for (const auto& e : this->*d.List) {
      e.Obj->SQLText = e.Obj->GetCreateSQL();
      e.Obj->CompareText = e.Obj->GetCreateSQL();
    }
  }
}

void TCustomObjs::FreeObjects() {
  // Objects of the other database must not keep pointing at objects freed here.
  if (Partner)
    for (TObjList* list : Partner->AllLists())
      for (const auto& e : *list)
        if (e.Obj->Pair && e.Obj->Pair->Objs == this) e.Obj->Pair = nullptr;
  for (TObjList* list : AllLists()) list->Clear();
  for (auto& cache : ListCaches) cache.reset();
  for (auto& index : TableIndexes) index.reset();
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
