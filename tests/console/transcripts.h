// Test support: the constant texts of the console dialogue, written out literally so
// that a transcript test compares the program's bytes with the texts themselves.
#pragma once

inline constexpr const char* headerText = "\n固体摩擦のある１自由度強制振動の描画"
                                          "\nm*ddy/ddt + λ*dy/dt + K = F*sin(ωf*t) ± Fric"
                                          "\n\nキー入力　(1) ばねマスダンパー"
                                          "\n        　(2) 外力・外力振動数"
                                          "\n        　(3) 固体摩擦力"
                                          "\n        　(4) 初期条件";

inline constexpr const char* prompt1Text =
    "\n\n(1) マスm[kg]，ダンパーλ[N/(m/s)]，ばね定数K[N/m]　キー入力 m λ K=";
inline constexpr const char* prompt2Text =
    "\n\n(2) 強制振動振幅F[N]，振動数ωf[rad/s]　キー入力  F ωf=";
inline constexpr const char* prompt3Text = "\n\n(3) 固体摩擦力 Fric[N]=";
inline constexpr const char* noticeText = "\n\n周波数特性計算中．．．．";
inline constexpr const char* prompt4Text = "\n\n(4) 初期条件　y0[m] v0[m/s] = ";

inline constexpr const char* helpText =
    "\n振動曲線描画表示　赤：応答　緑：外力　青：摩擦抵抗"
    "\n\n's'キーで：振動描画継続               'Y' 'y'キーで：縦倍率拡大縮小"
    "\n'm'キーで：ばねマス・外力変更         'T' 't'キーで：振動曲線時間軸拡大縮小"
    "\n'f'キーで：外力変更                   'z' 'Z'キーで：周波数特性横軸拡大縮小"
    "\n'r'キーで：固体摩擦力変更"
    "\n'j'キーで：初期条件変更"
    "\nESCキーで：終了\n";
