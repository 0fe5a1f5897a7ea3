#include "dialogs/field_names.h"

#include <array>

namespace {

enum class Index { none, channel, input };

struct Name {
  std::string_view field;
  const char* zh;
  const char* en;
  Index index;
};

constexpr auto N = Index::none;
constexpr auto C = Index::channel;
constexpr auto I = Index::input;

constexpr std::array<Name, 83> kNames{{
    {"micVolume", "话筒音量", "Mic volume", N},
    {"micToChannelA", "话筒通道A路由", "Routing to mic channel A", I},
    {"micEqBypassA", "话筒A均衡旁路", "Mic A EQ bypass", N},
    {"shiftFreqA", "话筒A移频", "Mic A frequency shift", N},
    {"shiftOffA", "话筒A移频关闭", "Mic A frequency shift off", N},
    {"micToChannelB", "话筒通道B路由", "Routing to mic channel B", I},
    {"micEqBypassB", "话筒B均衡旁路", "Mic B EQ bypass", N},
    {"shiftFreqB", "话筒B移频", "Mic B frequency shift", N},
    {"shiftOffB", "话筒B移频关闭", "Mic B frequency shift off", N},
    {"micMute", "话筒静音", "Mic mute", N},
    {"effectVolume", "效果总音量", "Effect volume", N},
    {"micInputVolume", "输入音量", "Input volume", I},
    {"micNoiseGate", "噪声门", "Noise gate", I},
    {"autoSubOn", "自动超低衰减", "Auto sub-woofer decay", N},
    {"autoSubRatio", "自动超低衰减比例", "Auto sub-woofer decay ratio", N},
    {"echoEqBypassA", "回声A均衡旁路", "Echo A EQ bypass", N},
    {"echoLevelA", "回声A电平", "Echo A level", N},
    {"echoPredelayA", "回声A预延时", "Echo A predelay", N},
    {"echoTimeA", "回声A间隔", "Echo A time", N},
    {"echoStartVolA", "回声A起始音量", "Echo A start volume", N},
    {"echoDecayA", "回声A衰减比例", "Echo A decay", N},
    {"echoEqBypassB", "回声B均衡旁路", "Echo B EQ bypass", N},
    {"echoLevelB", "回声B电平", "Echo B level", N},
    {"echoPredelayB", "回声B预延时", "Echo B predelay", N},
    {"echoTimeB", "回声B间隔", "Echo B time", N},
    {"echoStartVolB", "回声B起始音量", "Echo B start volume", N},
    {"echoDecayB", "回声B衰减比例", "Echo B decay", N},
    {"echoVolume", "回声音量", "Echo volume", N},
    {"echoMute", "回声静音", "Echo mute", N},
    {"reverbEqBypassA", "混响A均衡旁路", "Reverb A EQ bypass", N},
    {"reverbLevelA", "混响A电平", "Reverb A level", N},
    {"reverbPredelayA", "混响A预延时", "Reverb A predelay", N},
    {"reverbTimeA", "混响A时长", "Reverb A time", N},
    {"reverbEqBypassB", "混响B均衡旁路", "Reverb B EQ bypass", N},
    {"reverbLevelB", "混响B电平", "Reverb B level", N},
    {"reverbPredelayB", "混响B预延时", "Reverb B predelay", N},
    {"reverbTimeB", "混响B时长", "Reverb B time", N},
    {"reverbVolume", "混响音量", "Reverb volume", N},
    {"reverbMute", "混响静音", "Reverb mute", N},
    {"musicVolume", "音乐音量", "Music volume", N},
    {"spdifLevel", "光纤电平", "S/PDIF level", N},
    {"hdmi1Level", "HDMI1电平", "HDMI1 level", N},
    {"bluetoothLevel", "蓝牙电平", "Bluetooth level", N},
    {"spareMusicLevel", "备用音源电平", "Spare source level", N},
    {"auxLevel", "AUX电平", "AUX level", N},
    {"aux2Level", "AUX2电平", "AUX2 level", N},
    {"musicMute", "音乐静音", "Music mute", N},
    {"musicEqBypass", "音乐均衡旁路", "Music EQ bypass", N},
    {"musicPitch", "音乐变调", "Music pitch", N},
    {"musicSource", "音乐输入源", "Music source", N},
    {"musicNoiseGate", "音乐噪声门", "Music noise gate", N},
    {"chDirectLevel", "直达电平", "direct level", C},
    {"chReverbLevel", "混响电平", "reverb level", C},
    {"chEchoLevel", "回声电平", "echo level", C},
    {"chMusicLevel", "音乐电平", "music level", C},
    {"chType", "声道类型", "role", C},
    {"chEqBypass", "均衡旁路", "EQ bypass", C},
    {"chCompOff", "压限关闭", "compressor off", C},
    {"chCompThreshold", "压限阈值", "compressor threshold", C},
    {"chCompRatio", "压限比例", "compressor ratio", C},
    {"chCompAttack", "压限启动时间", "compressor attack", C},
    {"chCompRelease", "压限释放时间", "compressor release", C},
    {"chDelay", "延时", "delay", C},
    {"chDelayOff", "延时关闭", "delay off", C},
    {"chDelayMode", "延时方式", "delay mode", C},
    {"chMute", "静音", "mute", C},
    {"chPhase", "反相", "phase", C},
    {"musicAgcOn", "音乐自动增益", "Music AGC", N},
    {"musicAgcLevel", "音乐自动增益电平", "Music AGC level", N},
    {"hdmiPort", "HDMI端口", "HDMI port", N},
    {"hdmi2Level", "HDMI2电平", "HDMI2 level", N},
    {"hdmi3Level", "HDMI3电平", "HDMI3 level", N},
    {"hdmi4Level", "HDMI4电平", "HDMI4 level", N},
    {"chTrim", "声场电平", "location level", C},
    {"micBoostOn", "话筒增强", "Mic boost", N},
    {"micBoostOnCopy", "话筒增强(副本)", "Mic boost (copy)", N},
    {"musicLowDelay", "音乐低音延时", "Music bass delay", N},
    {"musicLowGain", "音乐低音增益", "Music bass gain", N},
    {"musicCompThreshold", "音乐压限阈值", "Music compressor threshold", N},
    {"musicCompRatio", "音乐压限比例", "Music compressor ratio", N},
    {"musicCompAttack", "音乐压限启动时间", "Music compressor attack", N},
    {"musicCompRelease", "音乐压限释放时间", "Music compressor release", N},
    {"musicCompOff", "音乐压限关闭", "Music compressor off", N},
}};

}  // namespace

QString FieldDisplayName(std::string_view name, int element, int languageIndex) {
  const bool en = languageIndex == 1;
  for (const Name& n : kNames) {
    if (n.field != name) continue;
    const QString text = QString::fromUtf8(en ? n.en : n.zh);
    switch (n.index) {
      case Index::channel:
        return (en ? QStringLiteral("CH%1 %2") : QStringLiteral("通道%1 %2")).arg(element + 1).arg(text);
      case Index::input:
        return (en ? QStringLiteral("%2, Mic %1") : QStringLiteral("%2 (话筒%1)")).arg(element + 1).arg(text);
      case Index::none:
        return text;
    }
  }
  return QStringLiteral("%1[%2]")
      .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))
      .arg(element);
}
