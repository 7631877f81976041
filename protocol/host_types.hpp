// Opaque handles and fixed-width types shared by the plug-in and the host.
// Handles are host pointers: the plug-in passes them back and never looks
// inside them.
#pragma once

#include <cstdint>

struct MQDocumentOpaque;
struct MQObjectOpaque;
struct MQSceneOpaque;
struct MQXmlElemOpaque;

using DocumentHandle = MQDocumentOpaque*;
using ObjectHandle = MQObjectOpaque*;
using SceneHandle = MQSceneOpaque*;
using XmlElemHandle = MQXmlElemOpaque*;

// The widget event procedure the plug-in registers with the host ("proc").
using WidgetEventProcType = int (*)(DocumentHandle document, void** arguments, void* pointer);

// Host message and ids the plug-in sends.
namespace mq {
inline constexpr int kMessageGetSettings = 505;  // MQ_SendMessage: settings element

inline constexpr int kObjectUniqueId = 260;  // MQObj_GetIntValue
inline constexpr int kObjectSelected = 262;  // MQObj_GetIntValue

inline constexpr int kLocalTranslation = 771;    // 3 floats, read/write
inline constexpr int kLocalMatrix = 772;         // 16 floats, read/write
inline constexpr int kLocalInverseMatrix = 773;  // 16 floats, read only

inline constexpr int kMatrixScale = 257;        // 3 floats, read
inline constexpr int kMatrixRotation = 258;     // 3 floats, read
inline constexpr int kMatrixTranslation = 259;  // 3 floats, read
inline constexpr int kMatrixCompose = 516;      // 9 floats, write

inline constexpr int kSceneCameraAngle = 258;  // MQScene_FloatValue, 3 floats

// MQXmlElem_Value codes.
inline constexpr int kXmlAddChildElement = 257;
inline constexpr int kXmlRemoveChildElement = 258;
inline constexpr int kXmlFindChildElement = 513;
inline constexpr int kXmlGetElementText = 770;
inline constexpr int kXmlSetElementText = 1026;

// MQWidget_Value request codes.
inline constexpr int kWidgetWindowCommand = 0x001;
inline constexpr int kWidgetSystemQuery = 0x100;
inline constexpr int kWidgetCreate = 0x101;
inline constexpr int kWidgetDelete = 0x102;
inline constexpr int kWidgetAddChild = 0x201;
inline constexpr int kWidgetAddChildWindow = 0x203;
inline constexpr int kWidgetGetValues = 0x301;
inline constexpr int kWidgetSetValues = 0x302;
inline constexpr int kWidgetCallMethod = 0x303;
inline constexpr int kWidgetAddEventHandler = 0x304;
}  // namespace mq
