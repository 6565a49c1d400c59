#include "kinds/kvtComp_Rol.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/kvtDBStructure.h"

namespace {

// Per name, the first role, login and user in RolList order (slot = role
// kind), with the entry key that places it in that order.
struct TRoleIndex : TListCache {
  struct Slot {
    std::string Key;
    TRolData* Obj = nullptr;
  };
  uint64_t Version = ~uint64_t{0};
  std::unordered_map<std::string, std::array<Slot, 3>> Names;

  void Rebuild(const TObjList& roles) {
    Names.clear();
    for (const auto& e : roles) {
      auto* rol = e.Obj->As<TRolData>();
      if (!rol || rol->RoleKind > rkUser) continue;
      Slot& slot = Names[rol->Name][rol->RoleKind];
      if (!slot.Obj) slot = Slot{e.Key, rol};  // walked in list order: first wins
    }
    Version = roles.Version();
  }
};

// Grants grouped by (object, grantee, grant option), each group in list order,
// so MergeGrant looks only at the grants it could merge with.
struct TGrantIndex : TListCache {
  uint64_t Version = ~uint64_t{0};
  std::unordered_map<std::string, std::vector<std::pair<std::string, TGntData*>>> Groups;

  static std::string GroupKey(const TGntData& g) {
    return g.ObjectName + '\x01' + g.Grantee + '\x01' + std::to_string(g.GrantOption);
  }
};

TRolData* FindRoleOfKind(const TCustomObjs& objs, const std::string& name, uint8_t kind) {
  TRoleIndex& ri = objs.ListCache<TRoleIndex>(olRol);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt > 0 || ri.Version != objs.RolList.Version()) ri.Rebuild(objs.RolList);
    auto it = ri.Names.find(name);
    if (it == ri.Names.end()) return nullptr;
    TRolData* rol = it->second[kind].Obj;
    // A role renamed or re-kinded after it was indexed: index again.
    if (!rol || (rol->Name == name && rol->RoleKind == kind)) return rol;
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// TRolData

void TRolData::AddedToList(const std::string& key) {
  if (!Objs) return;
  // Keep the index current without a rebuild per added role; an index that
  // was already stale is rebuilt on its next use.
  TRoleIndex& ri = Objs->ListCache<TRoleIndex>(olRol);
  const uint64_t version = Objs->RolList.Version();
  if (ri.Version + 1 != version) return;
  if (RoleKind <= rkUser) {
    TRoleIndex::Slot& slot = ri.Names[Name][RoleKind];
    if (!slot.Obj || Objs->RolList.KeyLess(key, slot.Key)) slot = TRoleIndex::Slot{key, this};
  }
  ri.Version = version;
}

// ---------------------------------------------------------------------------
// TGntData

bool TGntData::ReleaseUse(TDbObj& /*used*/) {
  SetExists(false);
  return true;
}

// ---------------------------------------------------------------------------
// Container lookups and grant merging

TRolData* TCustomObjs::FindRole(const std::string& name) const {
  return FindRoleOfKind(*this, name, rkRole);
}
TRolData* TCustomObjs::FindLogin(const std::string& name) const {
  return FindRoleOfKind(*this, name, rkLogin);
}
TRolData* TCustomObjs::FindUser(const std::string& name) const {
  return FindRoleOfKind(*this, name, rkUser);
}

TGntData* TCustomObjs::MergeGrant(std::unique_ptr<TGntData>& grant) {
  if (!grant) return nullptr;
  try {
    TGrantIndex& gi = ListCache<TGrantIndex>(olGnt);
    if (gi.Version != GntList.Version()) {
      gi.Groups.clear();
      for (const auto& e : GntList)
        if (auto* g = e.Obj->As<TGntData>())
          gi.Groups[TGrantIndex::GroupKey(*g)].emplace_back(e.Key, g);
      gi.Version = GntList.Version();
    }
    auto& group = gi.Groups[TGrantIndex::GroupKey(*grant)];
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
