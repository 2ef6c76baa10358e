; setup.exe for Zarvo 2003 v5.4. Built by installer/CMakeLists.txt, which
; passes the paths of the files to install:
;   makensis -DOUTFILE=... -DZARTUNE=... -DZARWATCH=... -DHELPFILE=...
;            -DHELPCONTENTS=... -DSOUND=... -DTARGET=x86-ansi zarvo.nsi
; "setup.exe /S" installs silently; "uninstall.exe /S" removes silently.

Target ${TARGET}
; The product's installer is called setup.exe, whatever shims Windows attaches to that name.
!pragma warning disable 9000
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Zarvo 2003"
!define VERSION "v5.4"
!define VENDOR "Orvenda Ltd"
!define PRODUCT_KEY "SOFTWARE\Orvenda Ltd\Zarvo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarvo"
!define RUN_KEY "SOFTWARE\MICROSOFT\WINDOWS\CurrentVersion"
!define AGENT_TITLE "ZV - Kavrel"
!define WM_CLOSE 0x0010

Name "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Zarvo"
InstallDirRegKey HKLM "${PRODUCT_KEY}\Install" "Folder"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running agent holds zarwatch.exe open; it ends when its window closes.
!macro CloseAgent
  FindWindow $0 "" "${AGENT_TITLE}"
  StrCmp $0 0 +2
  SendMessage $0 ${WM_CLOSE} 0 0
!macroend

Section "Zarvo"
  !insertmacro CloseAgent
  SetOutPath "$INSTDIR"
  File "/oname=zartune.exe" "${ZARTUNE}"
  File "/oname=zarwatch.exe" "${ZARWATCH}"
  File "/oname=zartune.hlp" "${HELPFILE}"
  File "/oname=zartune.cnt" "${HELPCONTENTS}"
  File "/oname=ping.wav" "${SOUND}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Both programs find their folder here (plain text, no trailing backslash needed).
  WriteRegStr HKLM "${PRODUCT_KEY}\Install" "Folder" "$INSTDIR"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Zarvo"
  CreateShortCut "$SMPROGRAMS\Zarvo\Zarvo.lnk" "$INSTDIR\zartune.exe"
  CreateShortCut "$SMPROGRAMS\Zarvo\Zarvo Help.lnk" "$INSTDIR\zartune.hlp"
  CreateShortCut "$SMPROGRAMS\Zarvo\Uninstall Zarvo.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "5.4"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${VENDOR}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zartune.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.zarvo.example/"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; The configurator puts the Windows TCP/IP defaults back, silently.
  ExecWait '"$INSTDIR\zartune.exe" /uninstall'
  !insertmacro CloseAgent
  DeleteRegValue HKLM "${RUN_KEY}\Run" "Detect"
  DeleteRegValue HKLM "${RUN_KEY}\RunServices" "Detect"

  ; The agent's log goes with the agent, which wrote its last line on closing.
  Delete "$INSTDIR\zarwatch.log"
  Delete "$INSTDIR\zarwatch.log.old"

  ; The configuration file is kept read-only and hidden.
  SetFileAttributes "$INSTDIR\Zartune2.cfg" NORMAL
  Delete "$INSTDIR\Zartune2.cfg"
  Delete /REBOOTOK "$INSTDIR\zartune.exe"
  Delete /REBOOTOK "$INSTDIR\zarwatch.exe"
  Delete "$INSTDIR\zartune.hlp"
  Delete "$INSTDIR\zartune.cnt"
  Delete "$INSTDIR\zartune.gid"
  Delete "$INSTDIR\ping.wav"
  Delete "$INSTDIR\uninstall.exe"
  ; Registry backups in RegBak and the record of the settings before the first
  ; Apply (Zartune-previous.reg, which regedit can import) are the user's; the
  ; folder stays while they do.
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Zarvo\Zarvo.lnk"
  Delete "$SMPROGRAMS\Zarvo\Zarvo Help.lnk"
  Delete "$SMPROGRAMS\Zarvo\Uninstall Zarvo.lnk"
  RMDir "$SMPROGRAMS\Zarvo"

  DeleteRegKey HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Orvenda Ltd"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
