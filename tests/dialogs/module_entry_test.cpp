// module_entry_test.cpp: a repeated initialisation registers no class and refills the same descriptor,
// watched through the module's own import of the registration call.
#include <gtest/gtest.h>

#include <cstring>
#include <windows.h>
#include "host/host_messages.h"
#include "tests/common/test_host.h"

namespace {

// Replaces one imported function of a module for the life of the object.
class ImportPatch {
public:
    ImportPatch(HMODULE module, const char *dll, const char *function, void *replacement)
    {
        slot_ = FindSlot(module, dll, function);
        if (!slot_)
            return;
        original_ = *slot_;
        Write(replacement);
    }
    ~ImportPatch()
    {
        if (slot_)
            Write(original_);
    }
    ImportPatch(const ImportPatch &) = delete;
    ImportPatch &operator=(const ImportPatch &) = delete;
    bool Found() const { return slot_ != nullptr; }

private:
    static void **FindSlot(HMODULE module, const char *dll, const char *function)
    {
        BYTE *base = reinterpret_cast<BYTE *>(module);
        auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY &imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        auto *descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
        for (; imports.VirtualAddress && descriptor->Name; ++descriptor) {
            if (_stricmp(reinterpret_cast<char *>(base + descriptor->Name), dll) != 0)
                continue;
            auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(base + descriptor->OriginalFirstThunk);
            auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + descriptor->FirstThunk);
            for (; descriptor->OriginalFirstThunk && names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                auto *byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
                if (strcmp(reinterpret_cast<char *>(byName->Name), function) == 0)
                    return reinterpret_cast<void **>(&slots->u1.Function);
            }
        }
        return nullptr;
    }
    void Write(void *value)
    {
        DWORD old;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
        *slot_ = value;
        VirtualProtect(slot_, sizeof *slot_, old, &old);
    }
    void **slot_ = nullptr;
    void *original_ = nullptr;
};

int registrations;
decltype(&RegisterClassA) realRegisterClassA;
decltype(&RegisterClassExA) realRegisterClassExA;

ATOM WINAPI CountRegisterClassA(const WNDCLASSA *wc)
{
    ++registrations;
    return realRegisterClassA(wc);
}

ATOM WINAPI CountRegisterClassExA(const WNDCLASSEXA *wc)
{
    ++registrations;
    return realRegisterClassExA(wc);
}

TEST(ModuleEntry, SecondInitRegistersNothingAndRefillsTheSameDescriptor)
{
    TestHost &host = TestHost::Instance();
    ASSERT_TRUE(host.Ready());
    HMODULE module = host.Module().module;
    realRegisterClassA = &RegisterClassA;
    realRegisterClassExA = &RegisterClassExA;
    ImportPatch plain(module, "user32.dll", "RegisterClassA", reinterpret_cast<void *>(CountRegisterClassA));
    ImportPatch extended(module, "user32.dll", "RegisterClassExA",
                         reinterpret_cast<void *>(CountRegisterClassExA));
    ASSERT_TRUE(plain.Found() || extended.Found()) << "the module registers its classes some other way";
    registrations = 0;

    PanelTypeInfo *first = host.Module().typeInfo;
    ASSERT_NE(first, nullptr);
    strcpy(first->name, "scribbled");
    strcpy(first->description, "scribbled");
    PanelTypeInfo *again = nullptr;
    host.Module().init(&again, 0);

    EXPECT_EQ(registrations, 0);
    EXPECT_EQ(again, first);
    EXPECT_STREQ(first->name, "Video Poker");
    EXPECT_STREQ(first->description, "Video Poker Tool for Quorvane");
}

}  // namespace
