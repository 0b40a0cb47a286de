// Feeds arbitrary text to the registry store's parser: it must never crash, what it writes must
// read back to the same text, and every value must be found by its own name, before and after
// values around it go.
#include "platform/rtl/registrystore.h"
#include "fuzz/fuzzinput.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void CheckIndex(const TRegStoreKey& Key)
{
    Check(Key.ValueIndex.size() == Key.Values.size());
    for (const TRegStoreValue& Value : Key.Values)
        Check(TRegistryData::FindValue(Key, Value.Name) == &Value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TRegistryData First;
    First.Parse(InputText(Data, Size));
    std::string Text = First.Text();
    TRegistryData Second;
    Second.Parse(Text);
    Check(Second.Text() == Text);

    std::vector<std::string> Pending = {""};
    while (!Pending.empty()) {
        std::string Path = Pending.back();
        Pending.pop_back();
        TRegStoreKey* Key = First.FindKey(Path);
        Check(Key != nullptr);
        CheckIndex(*Key);
        if (!Key->Values.empty()) {
            std::string Name = Key->Values.front().Name;
            Check(TRegistryData::DeleteValue(*Key, Name));
            Check(TRegistryData::FindValue(*Key, Name) == nullptr);
            CheckIndex(*Key);
        }
        for (const std::string& Name : First.SubKeyNames(Path))
            Pending.push_back(Path.empty() ? Name : Path + "\\" + Name);
    }
    return 0;
}
