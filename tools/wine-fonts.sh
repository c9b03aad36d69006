#!/usr/bin/env bash
# Maps the program's Chinese font faces to the WenQuanYi fonts that Debian
# installs (fonts-wqy-microhei, fonts-wqy-zenhei) in a Wine prefix, so the
# captions show as Chinese instead of empty boxes. Usage:
# tools/wine-fonts.sh <prefix-dir>
#
# - Replacements: "微软雅黑" / "Microsoft YaHei" -> WenQuanYi Micro Hei,
#   "宋体" / "SimSun" -> WenQuanYi Zen Hei Mono (by face name, as CreateFont
#   asks). The Mono face of Zen Hei keeps the metrics of the face it stands
#   in for: Latin characters half an em wide, Chinese a full em, so the
#   arrow labels ("=====>" at 16 px is 48 px) fit their 53-pixel labels as
#   with the original face; the proportional Zen Hei cuts off the ">".
# - SystemLink: the default GUI font (Tahoma behind "MS Shell Dlg") and
#   "System" fall back to WenQuanYi Micro Hei for characters they lack.
set -euo pipefail

export WINEPREFIX=$(realpath -m "$1") WINEDEBUG=-all
# The face names are passed as UTF-8 arguments; Wine reads them in the
# locale's encoding.
export LANG=C.UTF-8
wine=/usr/lib/wine/wine64
log=$WINEPREFIX.log

# Right after wineboot a start of reg.exe now and then fails ("Application
# could not be started"); a few tries ride that out.
reg() {
  local try
  for try in 1 2 3 4 5; do
    "$wine" reg add "$@" /f </dev/null >>"$log" 2>&1 && return 0
    sleep 0.5
  done
  echo "wine-fonts: reg add $* failed" >&2
  return 1
}

replacements='HKCU\Software\Wine\Fonts\Replacements'
reg "$replacements" /v '微软雅黑' /t REG_SZ /d 'WenQuanYi Micro Hei'
reg "$replacements" /v 'Microsoft YaHei' /t REG_SZ /d 'WenQuanYi Micro Hei'
reg "$replacements" /v '宋体' /t REG_SZ /d 'WenQuanYi Zen Hei Mono'
reg "$replacements" /v 'SimSun' /t REG_SZ /d 'WenQuanYi Zen Hei Mono'

system_link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
reg "$system_link" /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei'
reg "$system_link" /v System /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei'

# Marlett draws the caption's close button. Debian's fonts-wine puts it
# where this Wine does not look; in the prefix's Fonts folder it is found.
marlett=/usr/share/wine/fonts/marlett.ttf
fonts_dir=$WINEPREFIX/drive_c/windows/Fonts
if [[ -f $marlett && -d $fonts_dir ]]; then cp "$marlett" "$fonts_dir/"; fi
