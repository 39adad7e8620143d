// The module's own entry points, called as COM calls them: the class object, the unload
// question following the live objects, and a trace line for every entry point.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tests/shellext/extension_fixture.h"
#include "tests/shellext/shell_selection.h"

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

// Through a generic function pointer, which any exported function may be cast from.
template <class Function>
Function Export(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

// The extension loaded by path, as COM loads it.
struct LoadedExtension {
  explicit LoadedExtension(const std::string& path = ExtensionPath()) : module(LoadLibraryA(path.c_str())) {}
  ~LoadedExtension() {
    if (module) FreeLibrary(module);
  }
  LoadedExtension(const LoadedExtension&) = delete;
  LoadedExtension& operator=(const LoadedExtension&) = delete;
  HMODULE module;
  GetClassObjectFn getClassObject = Export<GetClassObjectFn>(module, "DllGetClassObject");
  CanUnloadNowFn canUnloadNow = Export<CanUnloadNowFn>(module, "DllCanUnloadNow");
};

class ModuleLifetime : public ExtensionTest {};

TEST_F(ModuleLifetime, CanUnloadOnlyWhileNoFactoryOrObjectLives) {
  LoadedExtension dll;
  ASSERT_TRUE(dll.getClassObject && dll.canUnloadNow);
  CLSID clsid = RegisteredMenuHandler();
  EXPECT_EQ(dll.canUnloadNow(), S_OK);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(dll.getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
  IContextMenu* menu = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
  factory->Release();
  EXPECT_EQ(dll.canUnloadNow(), S_FALSE) << "the object still lives";
  menu->Release();
  EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

TEST_F(ModuleLifetime, RefusedRequestsLeaveNothingAlive) {
  LoadedExtension dll;
  ASSERT_TRUE(dll.getClassObject && dll.canUnloadNow);
  CLSID clsid = RegisteredMenuHandler();
  void* out = &out;
  EXPECT_EQ(dll.getClassObject(IID_IContextMenu, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(dll.getClassObject(clsid, IID_IPersistFile, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(dll.canUnloadNow(), S_OK) << "a factory nobody holds must be gone";

  IClassFactory* factory = nullptr;
  ASSERT_EQ(dll.getClassObject(clsid, IID_IUnknown, reinterpret_cast<void**>(&factory)), S_OK);
  out = &out;  // any outer object is refused
  EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersistFile, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  EXPECT_EQ(dll.canUnloadNow(), S_OK) << "an object nobody holds must be gone";
}

// Keeps the text of every OutputDebugStringA of the process while alive: the call raises
// DBG_PRINTEXCEPTION_C, which a vectored handler sees before the system handles it.
class TraceRecorder {
 public:
  TraceRecorder() : handler_(AddVectoredExceptionHandler(1, &TraceRecorder::Seen)) { Active() = this; }
  ~TraceRecorder() {
    RemoveVectoredExceptionHandler(handler_);
    Active() = nullptr;
  }
  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> hold(mutex_);
    return lines_;
  }
  bool Has(const std::string& line) {
    for (const std::string& seen : Lines())
      if (seen == line) return true;
    return false;
  }

 private:
  static TraceRecorder*& Active() {
    static TraceRecorder* active = nullptr;
    return active;
  }
  static LONG CALLBACK Seen(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2 && Active()) {
      std::lock_guard<std::mutex> hold(Active()->mutex_);
      Active()->lines_.emplace_back(reinterpret_cast<const char*>(record->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }
  PVOID handler_;
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

TEST_F(ModuleLifetime, EveryEntryPointWritesItsTraceLine) {
  TraceRecorder traces;
  {
    // A copy of its own, so that loading and unloading happen inside the recording.
    std::string copy = work_ + "\\traced copy.dll";
    ASSERT_TRUE(CopyFileA(ExtensionPath().c_str(), copy.c_str(), FALSE));
    auto dll = std::make_unique<LoadedExtension>(copy);
    ASSERT_TRUE(dll->getClassObject && dll->canUnloadNow);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(dll->getClassObject(RegisteredMenuHandler(), IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IContextMenu* menu = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    factory->Release();
    void* out = nullptr;
    for (const IID* iid : {&IID_IShellExtInit, &IID_IExtractIconA, &IID_IPersistFile, &IID_IShellPropSheetExt,
                           &IID_IShellCopyHookA, &IID_IDataObject})
      if (SUCCEEDED(menu->QueryInterface(*iid, &out))) static_cast<IUnknown*>(out)->Release();
    IShellExtInit* init = nullptr;
    menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init));
    init->Initialize(nullptr, nullptr, nullptr);
    init->Release();
    for (UINT flags : {UINT(CMF_NORMAL), UINT(CMF_VERBSONLY), UINT(CMF_EXPLORE), UINT(CMF_DEFAULTONLY),
                       UINT(CMF_NOVERBS)}) {
      HMENU popup = CreatePopupMenu();
      menu->QueryContextMenu(popup, 0, kFirstCommand, kFirstCommand + 100, flags);
      DestroyMenu(popup);
    }
    char text[64];
    menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, text, sizeof text);
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = MAKEINTRESOURCEA(12);
    menu->InvokeCommand(&info);
    menu->Release();
    dll->canUnloadNow();
    dll.reset();
  }
  const char* const expected[] = {
      "Shellext DLLMain, DLL_PROCESS_ATTACH\r\n",
      "Shellext DllGetClassObject\r\n",
      "Shellext IsEqualIID = TRUE\r\n",
      "CShellExtClassFactory::CShellExtClassFactory()\r\n",
      "CShellExtClassFactory::QueryInterface()\r\n",
      "CShellExtClassFactory::CreateInstance()\r\n",
      "CShellExt::CShellExt()\r\n",
      "CShellExt::AddRef()\r\n",
      "CShellExt::Release()\r\n",
      "CShellExt::QueryInterface()==>IID_IShellExtInit\r\n",
      "CShellExt::QueryInterface()==>IID_IContextMenu\r\n",
      "CShellExt::QueryInterface()==>IID_IExtractIcon\r\n",
      "CShellExt::QueryInterface()==>IPersistFile\r\n",
      "CShellExt::QueryInterface()==>IShellPropSheetExt\r\n",
      "CShellExt::QueryInterface()==>ICopyHook\r\n",
      "CShellExt::QueryInterface()==>Unknown Interface!\r\n",
      "CShellExt::Initialize()\r\n",
      "CShellExt::QueryContextMenu()\r\n",
      "CMF_NORMAL...\r\n",
      "CMF_VERBSONLY...\r\n",
      "CMF_EXPLORE...\r\n",
      "CMF_DEFAULTONLY...\r\n",
      "CMF_default...\r\n",
      "uFlags==>8\r\n",
      "CShellExt::GetCommandString()\r\n",
      "CShellExt::InvokeCommand()\r\n",
      "Shellext DLLCanUnloadNow\r\n",
      "Shellext DLLMain, DLL_PROCESS_DETACH\r\n",
  };
  for (const char* line : expected) EXPECT_TRUE(traces.Has(line)) << line;
}

}  // namespace
