#pragma once
// A shared library opened on first use (dlopen) rather than linked in. A linked library is
// loaded, with everything it needs, by every start of every program; one that only some
// commands use (an importer's archive or XML reader) costs each lookup from the command line
// its share of the loader's time.
//
// Usage:
//   static const LoadedLibrary library("libzip.so.4");
//   decltype(&zip_open) open = nullptr;
//   if (library.bind("zip_open", open)) ...

namespace lexora {

class LoadedLibrary {
 public:
  // Binds nothing when the library cannot be opened (not installed).
  explicit LoadedLibrary(const char* soname);
  // Leaves the library open: what it holds may still be called by destructors that run after
  // this one (a thread's parser context), and the system unloads it with the process.
  ~LoadedLibrary() = default;
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // Sets `function` to the library's symbol `name`; false (and null) when there is none.
  template <typename Function>
  bool bind(const char* name, Function& function) const {
    function = reinterpret_cast<Function>(symbol(name));
    return function != nullptr;
  }

 private:
  void* symbol(const char* name) const;

  void* handle_ = nullptr;
};

}  // namespace lexora
