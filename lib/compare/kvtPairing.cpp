#include "compare/kvtPairing.h"

#include <string>

#include "core/kvtClasses.h"
#include "core/kvtDBStructure.h"
#include "core/kvtTypes.h"

namespace {

void ClearPairs(TObjs& objs) {
  for (const TListDescriptor& d : ListDescriptors)
    for (const auto& e : objs.*d.List) {
      e.Obj->Pair = nullptr;
      e.Obj->ForEachColumn([](TDbObj& c) { c.Pair = nullptr; });
    }
}

// Every object of `from` is looked up by its list key in `to`; a hit makes
// the two each other's Pair.
void PairList(const TObjList& from, const TObjList& to) {
  if (from.Empty() || to.Empty()) return;
  for (const auto& e : from) {
    TDbObj* obj = e.Obj.get();
    if (TDbObj* other = to.Find(obj->GetListKey())) {
      obj->Pair = other;
      other->Pair = obj;
    }
  }
}

// Columns of one paired table or view, by key among the other's columns.
void PairColumns(TDbObj& from, TDbObj& to) {
  from.ForEachColumn([&to](TDbObj& c) {
    if (TDbObj* other = to.FindColumn(c.GetListKey())) {
      c.Pair = other;
      other->Pair = &c;
    }
  });
}

bool EndsWithCheckOption(const std::string& body) {
  static const std::string kTail = "WITH CHECK OPTION";
  return body.size() >= kTail.size() &&
         UpperAscii(body.substr(body.size() - kTail.size())) == kTail;
}

// Two InterBase/Firebird views that differ only in the letter case of their
// closing WITH CHECK OPTION are not rebuilt: the target takes the master's tail.
void NormalizeCheckOptionTails(TObjs& master) {
  const size_t n = 17;  // length of "WITH CHECK OPTION"
  for (const auto& e : master.ViwList) {
    TDbObj* m = e.Obj.get();
    TDbObj* t = m->Pair;
    if (!t || !EndsWithCheckOption(m->Body) || !EndsWithCheckOption(t->Body)) continue;
    const std::string masterTail = m->Body.substr(m->Body.size() - n);
    if (t->Body.compare(t->Body.size() - n, n, masterTail) != 0)
      t->Body.replace(t->Body.size() - n, n, masterTail);
  }
}

}  // namespace

void PairObjects(TObjs& master, TObjs& target) {
  ClearPairs(master);
  ClearPairs(target);
  for (const TListDescriptor& d : ListDescriptors) PairList(master.*d.List, target.*d.List);
  for (const TListDescriptor& d : ListDescriptors) PairList(target.*d.List, master.*d.List);
  for (const TListDescriptor& d : ListDescriptors)
    for (const auto& e : master.*d.List)
      if (TDbObj* other = e.Obj->Pair) {
        PairColumns(*e.Obj, *other);
        PairColumns(*other, *e.Obj);
      }
  if (master.ServerType == srvInterBase && target.ServerType == srvInterBase)
    NormalizeCheckOptionTails(master);
}

void SetExistenceFlags(TObjs& master, TObjs& target) {
  // Master first: a pair shares one flag, which the target pass then confirms.
  for (const TListDescriptor& d : ListDescriptors)
    for (const auto& e : master.*d.List) {
      TDbObj* obj = e.Obj.get();
      obj->SetExists(obj->Pair != nullptr);
      obj->ForEachColumn([](TDbObj& c) { c.SetExists(c.Pair != nullptr); });
    }
  for (const TListDescriptor& d : ListDescriptors)
    for (const auto& e : target.*d.List) {
      e.Obj->SetExists(true);
      e.Obj->ForEachColumn([](TDbObj& c) { c.SetExists(true); });
    }
}
