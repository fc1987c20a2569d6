#include "swf/format/TagCodes.h"

#include <array>
#include <utility>

namespace swf::tag {

namespace {

constexpr std::array<std::pair<std::uint16_t, const char*>, 85> names{{
    {End, "End"},
    {ShowFrame, "ShowFrame"},
    {DefineShape, "DefineShape"},
    {FreeCharacter, "FreeCharacter"},
    {PlaceObject, "PlaceObject"},
    {RemoveObject, "RemoveObject"},
    {DefineBits, "DefineBits"},
    {DefineButton, "DefineButton"},
    {JpegTables, "JPEGTables"},
    {SetBackgroundColor, "SetBackgroundColor"},
    {DefineFont, "DefineFont"},
    {DefineText, "DefineText"},
    {DoAction, "DoAction"},
    {DefineFontInfo, "DefineFontInfo"},
    {DefineSound, "DefineSound"},
    {StartSound, "StartSound"},
    {StopSound, "StopSound"},
    {DefineButtonSound, "DefineButtonSound"},
    {SoundStreamHead, "SoundStreamHead"},
    {SoundStreamBlock, "SoundStreamBlock"},
    {DefineBitsLossless, "DefineBitsLossless"},
    {DefineBitsJpeg2, "DefineBitsJPEG2"},
    {DefineShape2, "DefineShape2"},
    {DefineButtonCxform, "DefineButtonCxform"},
    {Protect, "Protect"},
    {PathsArePostScript, "PathsArePostScript"},
    {PlaceObject2, "PlaceObject2"},
    {RemoveObject2, "RemoveObject2"},
    {SyncFrame, "SyncFrame"},
    {FreeAll, "FreeAll"},
    {DefineShape3, "DefineShape3"},
    {DefineText2, "DefineText2"},
    {DefineButton2, "DefineButton2"},
    {DefineBitsJpeg3, "DefineBitsJPEG3"},
    {DefineBitsLossless2, "DefineBitsLossless2"},
    {DefineEditText, "DefineEditText"},
    {DefineVideo, "DefineVideo"},
    {DefineSprite, "DefineSprite"},
    {NameCharacter, "NameCharacter"},
    {ProductInfo, "ProductInfo"},
    {DefineTextFormat, "DefineTextFormat"},
    {FrameLabel, "FrameLabel"},
    {DefineBehavior, "DefineBehavior"},
    {SoundStreamHead2, "SoundStreamHead2"},
    {DefineMorphShape, "DefineMorphShape"},
    {FrameTag, "FrameTag"},
    {DefineFont2, "DefineFont2"},
    {GenCommand, "GenCommand"},
    {DefineCommandObject, "DefineCommandObject"},
    {CharacterSet, "CharacterSet"},
    {FontRef, "FontRef"},
    {DefineFunction, "DefineFunction"},
    {PlaceFunction, "PlaceFunction"},
    {GenTagObject, "GenTagObject"},
    {Exports, "Exports"},
    {ImportAssets, "ImportAssets"},
    {EnableDebugger, "EnableDebugger"},
    {DoInitAction, "DoInitAction"},
    {DefineVideoStream, "DefineVideoStream"},
    {VideoFrame, "VideoFrame"},
    {DefineFontInfo2, "DefineFontInfo2"},
    {DebugId, "DebugID"},
    {EnableDebugger2, "EnableDebugger2"},
    {ScriptLimits, "ScriptLimits"},
    {SetTabIndex, "SetTabIndex"},
    {FileAttributes, "FileAttributes"},
    {PlaceObject3, "PlaceObject3"},
    {ImportAssets2, "ImportAssets2"},
    {DoAbcDefine, "DoABCDefine"},
    {DefineFontAlignZones, "DefineFontAlignZones"},
    {CsmTextSettings, "CSMTextSettings"},
    {DefineFont3, "DefineFont3"},
    {SymbolClass, "SymbolClass"},
    {Metadata, "Metadata"},
    {DefineScalingGrid, "DefineScalingGrid"},
    {DoAbc, "DoABC"},
    {DefineShape4, "DefineShape4"},
    {DefineMorphShape2, "DefineMorphShape2"},
    {DefineSceneAndFrameLabelData, "DefineSceneAndFrameLabelData"},
    {DefineBinaryData, "DefineBinaryData"},
    {DefineFontName, "DefineFontName"},
    {StartSound2, "StartSound2"},
    {DefineBitsJpeg4, "DefineBitsJPEG4"},
    {DefineFont4, "DefineFont4"},
    {EnableTelemetry, "EnableTelemetry"},
}};

} // namespace

const char* Name(std::uint16_t code) {
    for (const auto& [value, name] : names) {
        if (value == code) {
            return name;
        }
    }
    return nullptr;
}

bool IsActionTag(std::uint16_t code) {
    return code == DoAction || code == DoInitAction || code == DoAbc || code == DoAbcDefine;
}

bool IsSoundTag(std::uint16_t code) {
    return code == StartSound || code == StartSound2 || code == StopSound ||
           code == SoundStreamHead || code == SoundStreamHead2 || code == SoundStreamBlock;
}

} // namespace swf::tag
