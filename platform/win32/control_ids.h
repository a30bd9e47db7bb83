// Child-window IDs of the main window's controls, by control name. A driver
// in another process finds a control with GetDlgItem(parent, ControlId(name)),
// so the ID depends on the name alone. IDOK (1) and IDCANCEL (2) stay free:
// keyboard navigation sends them to the main window for Enter and Esc.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorvane::win32 {

inline constexpr int kIdBotaoIniciar = 101;
inline constexpr int kIdBotaoParar = 102;
inline constexpr int kIdPanel1 = 103;
inline constexpr int kIdLabel1 = 104;
inline constexpr int kIdLabel2 = 105;
inline constexpr int kIdLabel3 = 106;
inline constexpr int kIdLabel4 = 107;
inline constexpr int kIdPanel2 = 108;
inline constexpr int kIdBotaoChecaVersao = 109;
inline constexpr int kIdBotaoSair = 110;
inline constexpr int kIdPageControl1 = 111;
inline constexpr int kIdTabSheet1 = 112;
inline constexpr int kIdListBox1 = 113;
inline constexpr int kIdBotaoBackups = 114;
inline constexpr int kIdPageControl2 = 115;
inline constexpr int kIdTabSheet2 = 116;
inline constexpr int kIdListBox3 = 117;
inline constexpr int kIdBotaoRestaurar = 118;
inline constexpr int kIdListBox2 = 119;
inline constexpr int kIdBotaoDeletar = 120;
inline constexpr int kIdListBox4 = 121;

// The ID of the control named `name`. Names of other forms get an ID from a
// hash of the name, in 0x1000..0x7FFF, clear of the fixed ones.
constexpr int ControlId(std::string_view name) {
  struct Entry {
    std::string_view name;
    int id;
  };
  constexpr Entry kTable[] = {
      {"BotaoIniciar", kIdBotaoIniciar},   {"BotaoParar", kIdBotaoParar},
      {"Panel1", kIdPanel1},               {"Label1", kIdLabel1},
      {"Label2", kIdLabel2},               {"Label3", kIdLabel3},
      {"Label4", kIdLabel4},               {"Panel2", kIdPanel2},
      {"BotaoChecaVersao", kIdBotaoChecaVersao}, {"BotaoSair", kIdBotaoSair},
      {"PageControl1", kIdPageControl1},   {"TabSheet1", kIdTabSheet1},
      {"ListBox1", kIdListBox1},           {"BotaoBackups", kIdBotaoBackups},
      {"PageControl2", kIdPageControl2},   {"TabSheet2", kIdTabSheet2},
      {"ListBox3", kIdListBox3},           {"BotaoRestaurar", kIdBotaoRestaurar},
      {"ListBox2", kIdListBox2},           {"BotaoDeletar", kIdBotaoDeletar},
      {"ListBox4", kIdListBox4},
  };
  for (const Entry& entry : kTable)
    if (entry.name == name) return entry.id;
  uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return 0x1000 + static_cast<int>(hash % 0x7000u);
}

}  // namespace quorvane::win32
