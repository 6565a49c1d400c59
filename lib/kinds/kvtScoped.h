// Temporary changes of an object that are undone when the scope ends, even
// when an exception leaves it.
#pragma once

#include <string>
#include <utility>

#include "core/kvtClasses.h"

// Sets a flag for the length of a scope and puts its former value back.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag, bool value = true) : Flag(flag), Saved(flag) { Flag = value; }
  ~TFlagScope() { Flag = Saved; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& Flag;
  const bool Saved;
};

// What `render` returns while the object's Body is `body`; the object's own
// body is put back afterwards.
template <class Fn>
std::string RenderWithBody(TDbObj& o, std::string body, Fn render) {
  std::swap(o.Body, body);
  struct TRestore {
    TDbObj& Obj;
    std::string& Saved;
    ~TRestore() { std::swap(Obj.Body, Saved); }
  } restore{o, body};
  return render();
}
