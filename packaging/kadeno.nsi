; Kadeno's Windows installer, for makensis (Debian's nsis package). scripts/build-windows.sh
; makes it from the zip's folder:
;   makensis -DVERSION=0.2.0 -DBUILD=build-win -DOUTFILE=Setup.exe packaging/kadeno.nsi
; BUILD is the Windows build folder: BUILD/zip/Kadeno holds the files, the same as the zip's,
; and BUILD/uninstall-files.nsh the lines that take each away again. This file is UTF-8
; with a byte-order mark, which makensis needs to read it as such.
;
; It installs for the player alone, with no administrator's rights and so no UAC prompt,
; into %LOCALAPPDATA%\Programs\Kadeno, with a Start menu entry and an Add/Remove Programs
; entry; the pages are NSIS's stock ones, which screen readers read, in the game's six
; languages, as Windows is shown. /S installs and uninstalls silently. The player's settings
; and hall of fame (%APPDATA%\Kadeno) are never touched by an install or an update, and the
; uninstaller keeps them unless the box on its last page is checked.

; A 64-bit installer for a 64-bit program: it sees the registry kadeno.exe sees (a 32-bit one
; would find HKLM\SOFTWARE under WOW6432Node), and it runs where kadeno.exe runs.
Target amd64-unicode
!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kadeno"

Name "Kadeno"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kadeno"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
SetCompressor /SOLID lzma
BrandingText "Kadeno ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Kadeno"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Kadeno ${VERSION} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "The Kadeno developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 The Kadeno developers"

!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kadeno.exe"
; The finish page's second box, off unless the player checks it: a desktop shortcut.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(DesktopShortcut)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION MakeDesktopShortcut
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(SettingsKept)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The last page's box, off unless the player checks it: the settings go too.
!define MUI_FINISHPAGE_TEXT "$(RemovedSettingsKept)"
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(RemoveSettings)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION un.RemoveSettings
!insertmacro MUI_UNPAGE_FINISH

; The first is the one for a Windows shown in a language Kadeno does not speak.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "PortugueseBR"
!insertmacro MUI_LANGUAGE "Russian"

LangString DesktopShortcut ${LANG_ENGLISH} "Put a shortcut to Kadeno on the desktop"
LangString DesktopShortcut ${LANG_GERMAN} "Eine Verknüpfung zu Kadeno auf den Desktop legen"
LangString DesktopShortcut ${LANG_FRENCH} "Placer un raccourci vers Kadeno sur le Bureau"
LangString DesktopShortcut ${LANG_SPANISH} "Poner un acceso directo a Kadeno en el escritorio"
LangString DesktopShortcut ${LANG_PORTUGUESEBR} "Criar um atalho para o Kadeno na área de trabalho"
LangString DesktopShortcut ${LANG_RUSSIAN} "Поместить ярлык Kadeno на рабочий стол"

LangString SettingsKept ${LANG_ENGLISH} "Kadeno will be removed from the folder below. Your settings and hall of fame in $APPDATA\Kadeno are kept; the last page lets you remove them too."
LangString SettingsKept ${LANG_GERMAN} "Kadeno wird aus dem folgenden Ordner entfernt. Ihre Einstellungen und die Ruhmeshalle in $APPDATA\Kadeno bleiben erhalten; auf der letzten Seite können Sie auch sie entfernen."
LangString SettingsKept ${LANG_FRENCH} "Kadeno va être supprimé du dossier ci-dessous. Vos réglages et votre tableau d'honneur dans $APPDATA\Kadeno sont conservés ; la dernière page vous permet de les supprimer aussi."
LangString SettingsKept ${LANG_SPANISH} "Kadeno se quitará de la carpeta siguiente. Tu configuración y el salón de la fama en $APPDATA\Kadeno se conservan; la última página te permite quitarlos también."
LangString SettingsKept ${LANG_PORTUGUESEBR} "O Kadeno será removido da pasta abaixo. Suas configurações e o hall da fama em $APPDATA\Kadeno são mantidos; a última página permite removê-los também."
LangString SettingsKept ${LANG_RUSSIAN} "Kadeno будет удалён из указанной ниже папки. Ваши настройки и зал славы в $APPDATA\Kadeno сохраняются; на последней странице их тоже можно удалить."

LangString RemovedSettingsKept ${LANG_ENGLISH} "Kadeno has been removed from your computer.$\r$\n$\r$\nYour settings and hall of fame are kept in $APPDATA\Kadeno for when you install Kadeno again. To remove them too, check the box below."
LangString RemovedSettingsKept ${LANG_GERMAN} "Kadeno wurde von Ihrem Computer entfernt.$\r$\n$\r$\nIhre Einstellungen und die Ruhmeshalle bleiben in $APPDATA\Kadeno erhalten, falls Sie Kadeno wieder installieren. Um auch sie zu entfernen, aktivieren Sie das Kontrollkästchen unten."
LangString RemovedSettingsKept ${LANG_FRENCH} "Kadeno a été supprimé de votre ordinateur.$\r$\n$\r$\nVos réglages et votre tableau d'honneur sont conservés dans $APPDATA\Kadeno pour une prochaine installation de Kadeno. Pour les supprimer aussi, cochez la case ci-dessous."
LangString RemovedSettingsKept ${LANG_SPANISH} "Kadeno se ha quitado de tu equipo.$\r$\n$\r$\nTu configuración y el salón de la fama se conservan en $APPDATA\Kadeno para cuando vuelvas a instalar Kadeno. Para quitarlos también, marca la casilla de abajo."
LangString RemovedSettingsKept ${LANG_PORTUGUESEBR} "O Kadeno foi removido do seu computador.$\r$\n$\r$\nSuas configurações e o hall da fama são mantidos em $APPDATA\Kadeno para quando você instalar o Kadeno de novo. Para removê-los também, marque a caixa abaixo."
LangString RemovedSettingsKept ${LANG_RUSSIAN} "Kadeno удалён с вашего компьютера.$\r$\n$\r$\nВаши настройки и зал славы сохранены в $APPDATA\Kadeno на случай повторной установки Kadeno. Чтобы удалить и их, отметьте флажок ниже."

LangString RemoveSettings ${LANG_ENGLISH} "Also remove my settings and hall of fame"
LangString RemoveSettings ${LANG_GERMAN} "Auch meine Einstellungen und die Ruhmeshalle entfernen"
LangString RemoveSettings ${LANG_FRENCH} "Supprimer aussi mes réglages et mon tableau d'honneur"
LangString RemoveSettings ${LANG_SPANISH} "Quitar también mi configuración y el salón de la fama"
LangString RemoveSettings ${LANG_PORTUGUESEBR} "Remover também minhas configurações e o hall da fama"
LangString RemoveSettings ${LANG_RUSSIAN} "Удалить также мои настройки и зал славы"

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${BUILD}/zip/Kadeno/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Kadeno.lnk" "$INSTDIR\kadeno.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kadeno"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kadeno developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kadeno.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function MakeDesktopShortcut
  SetShellVarContext current
  CreateShortcut "$DESKTOP\Kadeno.lnk" "$INSTDIR\kadeno.exe"
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  ; Exactly the files installed, and the folders once empty: never a folder's whole tree,
  ; which could be one the player chose with files of their own in it.
  !include "${BUILD}/uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Kadeno.lnk"
  Delete "$DESKTOP\Kadeno.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; What Program > Uninstall Kadeno removes, where the player has the rights to.
  DeleteRegValue HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\Run" "Kadeno"
  DeleteRegKey HKLM "SOFTWARE\Quenloft\Kadeno"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Quenloft"
SectionEnd

Function un.RemoveSettings
  SetShellVarContext current
  RMDir /r "$APPDATA\Kadeno"
FunctionEnd
