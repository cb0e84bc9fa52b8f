#pragma once
// The Software menu builder: puts one link item per program of the maker at the
// top of each Software menu, German captions in m_soft_de and English ones in
// m_soft_en. The start-up hands it to the main window, which runs it once while
// it is being created, before its language texts are applied.

class Tprog;

namespace tonfang {

void buildSoftwareMenus(Tprog &prog);

} // namespace tonfang
