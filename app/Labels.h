#pragma once

// The labels of the guarded procedures, as the error report shows them. They
// name the procedure a support request is about, so they never change.
namespace app::label {

inline constexpr char Form1_Form_Load[] = "in Pondrel2021/08/31.Form1.Form_Load ";
inline constexpr char Form1_PushButton2_Click[] = "in Pondrel2021/08/31.Form1.PushButton2_Click ";
inline constexpr char Form1_PushButton3_Click[] = "in Pondrel2021/08/31.Form1.PushButton3_Click ";
inline constexpr char Form1_PushButton22_Click[] = "in Pondrel2021/08/31.Form1.PushButton22_Click ";
inline constexpr char Form1_SaveDocAsJPG[] = "in Pondrel2021/08/31.Form1.SaveDocAsJPG ";
inline constexpr char Form2_Form_Load[] = "in Pondrel2021/08/31.Form2.Form_Load ";
inline constexpr char Form2_Form_Activate[] = "in Pondrel2021/08/31.Form2.Form_Activate ";
inline constexpr char Form2_Form_QueryUnload[] = "in Pondrel2021/08/31.Form2.Form_QueryUnload ";
inline constexpr char Form2_PushButton1_Click[] = "in Pondrel2021/08/31.Form2.PushButton1_Click ";
inline constexpr char Form2_PushButton2_Click[] = "in Pondrel2021/08/31.Form2.PushButton2_Click ";
inline constexpr char Form2_PushButton6_Click[] = "in Pondrel2021/08/31.Form2.PushButton6_Click ";
inline constexpr char Form2_PushButton8_Click[] = "in Pondrel2021/08/31.Form2.PushButton8_Click ";
inline constexpr char Form2_Picture1_MouseDown[] = "in Pondrel2021/08/31.Form2.picture1_MouseDown ";
inline constexpr char Form2_Picture1_MouseMove[] = "in Pondrel2021/08/31.Form2.picture1_MouseMove ";
inline constexpr char Form2_Picture1_MouseUp[] = "in Pondrel2021/08/31.Form2.Picture1_MouseUp ";
inline constexpr char Form2_mnuSaveAsPdf_Click[] = "in Pondrel2021/08/31.Form2.mnuSaveAsPdf_Click ";
inline constexpr char Form2_mnuPrint_Click[] = "in Pondrel2021/08/31.Form2.mnuPrint_Click ";
inline constexpr char Form2_mnuCopyPage_Click[] = "in Pondrel2021/08/31.Form2.mnuCopyPage_Click ";
inline constexpr char Form2_RedrawImage[] = "in Pondrel2021/08/31.Form2.RedrawImage ";

}  // namespace app::label
