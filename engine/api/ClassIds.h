#pragma once
// The class identifiers of the engine library: a programmatic name ("PGVX.INI") and a
// class id, each of which names the class to PGVX_CreateObject. The library registers
// the class ids under HKEY_CLASSES_ROOT\CLSID.

namespace pgv {

struct ClassId {
  const char* progId;
  const char* clsid;
};

namespace classid {
inline constexpr ClassId INI{"PGVX.INI", "{77911EE7-B897-4AA8-97F8-369B238AB68B}"};
inline constexpr ClassId Logger{"PGVX.Logger", "{404B8BA0-5DC7-4C31-84E9-4F303F20E049}"};
inline constexpr ClassId System{"PGVX.System", "{4212992A-9B04-4A01-A3A5-1567EC70CBC8}"};
inline constexpr ClassId OS{"PGVX.OS", "{4EFFC1E4-074C-4D7C-B347-136C0E7A1C0F}"};
inline constexpr ClassId Browsers{"PGVX.Browsers", "{C54D218D-A3C7-48DB-91F3-3E195B458039}"};
inline constexpr ClassId Messangers{"PGVX.Messangers", "{5B363492-E281-4C9A-BAAE-601285CDA5C9}"};
inline constexpr ClassId IE{"PGVX.IE", "{335926A7-648F-452D-B37B-141998142951}"};
inline constexpr ClassId Netscape{"PGVX.Netscape", "{E80455AE-C681-4F58-844E-12817937F495}"};
inline constexpr ClassId FireFox{"PGVX.FireFox", "{12CE900A-7BBB-4B76-A691-54EF701255FA}"};
inline constexpr ClassId Opera{"PGVX.Opera", "{23DDCFFB-4E27-4714-B363-1CB59BD82EBB}"};
inline constexpr ClassId AOL{"PGVX.AOL", "{3DAC1DB7-D433-4CA1-95B7-A8DE3F18A101}"};
inline constexpr ClassId MSN{"PGVX.MSN", "{FCFB0801-BE30-4444-B46B-2EDB5933E34D}"};
inline constexpr ClassId ICQ{"PGVX.ICQ", "{406B3085-B262-45CB-AA29-068C8826DCF2}"};
inline constexpr ClassId YahooMessenger{"PGVX.YahooMessenger", "{5CE366B7-1A1E-46C5-A035-C5D5B9367B8B}"};
inline constexpr ClassId Misc_Functions{"PGVX.Misc_Functions", "{22FF3954-82A3-4326-BBF7-F4F62F0F71E2}"};
inline constexpr ClassId Office{"PGVX.Office", "{DEAA9172-FC7D-418B-9A5D-4F334D0FA17F}"};
inline constexpr ClassId Shredder{"PGVX.Shredder", "{946F0629-E3B5-4714-A048-85982FE3F110}"};
inline constexpr ClassId Reg_Cleaner{"PGVX.Reg_Cleaner", "{AE972F45-3CA8-4D46-90C0-BA49E8969C66}"};
inline constexpr ClassId Plugins{"PGVX.Plugins", "{FE2FC28E-A483-4F7E-A283-3B391D6E30BC}"};
inline constexpr ClassId Blowfish{"PGVX.Blowfish", "{8CE78F0D-3DBD-4A83-A397-2DA3CEC82957}"};
inline constexpr ClassId Schedule{"PGVX.Schedule", "{9F36BD9D-E607-4594-96D8-4796F0C61909}"};
inline constexpr ClassId ISB{"PGVX.ISB", "{D14E0CE3-854A-45F1-BB08-FB675B33DBC8}"};
inline constexpr ClassId RAM{"PGVX.RAM", "{74D39A91-E2EF-464E-8154-7702A6BC2C8B}"};

// Every class id of the library, whether or not the class is built yet.
inline constexpr ClassId kAll[] = {
    INI,    Logger, System,         Browsers, Messangers, OS,       IE,          Netscape, FireFox, Opera, AOL, MSN,
    ICQ,    YahooMessenger, Misc_Functions, Office, Shredder, Reg_Cleaner, Plugins, Blowfish, Schedule, ISB, RAM};
}  // namespace classid

}  // namespace pgv
