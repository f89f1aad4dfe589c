#pragma once

#include <map>
#include <memory>
#include <typeindex>

#include "host/forms/Form.h"

namespace qalvoro {

// The one instance of each shared window of the process (the overwrite
// prompt, the filter dialog, the folder search, ...), created on first use
// and destroyed when unloaded: unload<Window>() destroys it at once, and a
// window that unloaded itself (its exit button, the title-bar close) is
// replaced by a new one, built as designed, at its next use.
class WindowSet {
 public:
  template <class Window>
  Window& get() {
    auto& slot = windows_[std::type_index(typeid(Window))];
    if (!slot || slot->isUnloaded()) slot = std::make_unique<Window>();
    return static_cast<Window&>(*slot);
  }
  template <class Window>
  bool exists() const {
    return windows_.count(std::type_index(typeid(Window))) > 0;
  }
  template <class Window>
  void unload() {
    windows_.erase(std::type_index(typeid(Window)));
  }
  void clear() { windows_.clear(); }

 private:
  std::map<std::type_index, std::unique_ptr<Form>> windows_;
};

// The windows of this process; cleared when the component is released.
WindowSet& windows();

}  // namespace qalvoro
