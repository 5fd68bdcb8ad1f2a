// What a unit sends back on an upload comes from a device on a serial line: any bytes
// must decode without a crash, reading nothing past what arrived and writing nothing past
// the model's tables. The input is the driver identities (5 bytes), the setup record (64)
// and the project image (the rest), decoded against a small program tree of its own.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "model/RunTimeState.h"
#include "compiler/UploadDecode.h"
#include "platform/Paths.h"

namespace {

class SilentHost : public IUploadDecodeHost {
public:
    int ShowMessage(const std::string&, const std::string&, unsigned) override { return 1; }
    bool AskProductForProject(std::string& product) override {
        product = "FZ";
        return true;
    }
};

const char* const kProducts =
    "[ProductList]\r\nProductCount=1\r\nProduct1=FZ\r\nProductNo1=2\r\nDeviceID1=82\r\n"
    "ProjectVersion1=4\r\nProductBlockSize1=32\r\nProduct1DSize=64\r\n";

// Two PLCs: registers with ':' and '/' parts, coils and words sharing a prefix, and every
// feature of the image.
const char* const kPlc1 =
    "[Plc Info]\r\nPlc Name=Alpha\r\nPlc Code=1\r\nPlc1=M\r\nSpecialData=3\r\n"
    "Sp1=A,0,250,5,10\r\nSp2=B,0,9,3,200\r\nSp3=C,0,9,3,0\r\nNoOfWord=64\r\n"
    "[M]\r\nModelNo=1\r\nRegisterCount=4\r\nRegisterWidth=4\r\n"
    "Register1=Bit,0,0,B,03,99,0000,4095,**,\r\nRegister2=Int,1,0,N,007,255,000,255,**,\r\n"
    "Register3=Coil,0,0,X,0,50,0,7,**,\r\nRegister4=Word,1,1,X,0,50,**,,**,\r\n"
    "[Extended Setup]\r\nExtendedSetup=1\r\nEthernetSetting=1\r\nTagTable=1\r\nRecipes=1\r\n"
    "AttachRegCom1=1\r\nGeneralEntityCom1=1\r\n[GeneralEntityCom1]\r\nEntityCode=6\r\nSubEntity=1\r\n"
    "SubEntity1=T,2,1,500,0,5000,100,4,10\r\n";
const char* const kPlc2 =
    "[Plc Info]\r\nPlc Name=Alpha\r\nPlc Code=2\r\nPlc1=S\r\nNoOfWord=32\r\n"
    "[S]\r\nModelNo=1\r\nRegisterCount=2\r\nRegisterWidth=9\r\n"
    "Register1=Tag,1,0,I,00000001,00000009,**,**,**,**\r\nRegister2=Coil,0,0,C,0001,9999,**,,**,\r\n"
    "[Extended Setup]\r\nExtendedSetup=1\r\nAttachRegCom2=1\r\nGeneralEntityCom2=1\r\n";

void WriteFile(const std::string& path, const char* text) {
    platform::MakeDirectories(path.substr(0, path.find_last_of('/')));
    platform::WriteFileBytes(path, text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string root = "/tmp/quorvex-fuzz-upload-" + std::to_string(getpid()) + "/";
    WriteFile(root + "Products/products.inf", kProducts);
    WriteFile(root + "FZ/Plc/100_004.inf", kPlc1);
    WriteFile(root + "FZ/Plc/200_004.inf", kPlc2);
    platform::SetProgramFolder(root);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    g_szProductName = g_szProductPath = g_szProductNameCopy = "FZ";
    g_nDeviceId = g_nDeviceIdAlt = (size > 0 && data[0] == 84) ? 84 : 82;
    uint8_t identities[5] = {1, 1, 2, 1, 0};
    uint8_t setup[64] = {};
    for (size_t i = 0; i < 5 && i < size; ++i) identities[i] = data[i];
    for (size_t i = 0; i < 64 && 5 + i < size; ++i) setup[i] = data[5 + i];
    const std::string image = size > 69 ? std::string(reinterpret_cast<const char*>(data) + 69, size - 69)
                                        : std::string();
    SilentHost host;
    CUploadDecoder decoder(host);
    decoder.DecodeIdentities(identities);
    decoder.DecodeSetup(setup);
    decoder.ApplySlaveModeWordLimit();
    decoder.DecodeImage(image);
    decoder.ConvertPortCodes();
    decoder.SetTitle();
    return 0;
}
