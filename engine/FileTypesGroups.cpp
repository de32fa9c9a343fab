#include "engine/FileTypesGroups.h"

#include <algorithm>

#include "engine/MaskText.h"

namespace engine {
namespace {

// Each extension once, in its group's order.
const wchar_t* const ExtensionsTextList =
    L".!!! .1st .ans .asc .ascii .cas .charset .csa .csv .err .faq .ini .log .lst .me .now .readme .strings .t "
    L".tab .text .tsv .tx8 .txt .uni .utf8 .utx .utxt .vcs .tex";

const wchar_t* const ExtensionsDeveloperList =
    L".~df .~pa .a .acgi .acm .actionscript .ada .adb .ads .as .asax .asc .ascx .asi .asm .asmx .asp .aspx .asr "
    L".awe .axs .b .bas .bat .bcc .bcp .bi .bpg .bpk .bpl .bpr .c .c# .cap .cas .cb .cba .cbl .cc .cfo .cgi .ch "
    L".cl .cla .class .clp .cls .clss .cmd .cob .cod .common .config .coverage .cp .cpp .cpy .cs .csattr .csb .csc"
    L" .csgrad .csh .csproj .css .csview .ctl .ctx .cxx .d .datasource .db2 .db2tbl .db2tr .db2vw .dba .dbg .dbo "
    L".dcp .dct .dcu .ddp .def .des .dev .dfm .dlg .do .dob .dox .dpk .dpl .dpr .dsk .dso .dsp .dsr .dt .dtd .dwt "
    L".epp .f .f40 .f77 .f90 .f95 .fgl .fla .for .fpp .frm .frx .fs .fsi .fsx .ftn .gem .h .hh .hpf .hpp .htc .htd"
    L" .hxx .i .idb .idl .ilk .imp .inc .iss .j .jav .java .jpd .jpr .jpx .js .jsb .jse .jsf .jsfl .json .jsp .jst"
    L" .jsx .jsxinc .kb .kcl .l .lib .licenses .licx .lisp .lmv .lng .lrf .lsp .lst .m2 .m3 .mak .make .map .mdp "
    L".mf .mg .mif .mk .mli .mo .mod .ms .msc .mx .myapp .nt .obj .odl .p .pag .pal .pas .pb .pba .pbi .pbl .pbp "
    L".pbproj .pc .pch .pck .pd .pdb .pdl .pdm .pdo .perl .ph .ph3 .phl .php .php2 .php3 .php4 .php5 .phps .phs "
    L".phtml .pjt .pjx .pl .pls .plx .pod .policy .pp .ppl .ppu .prg .prj .pro .ptl .py .pyc .pyd .pyo .pyw .qry "
    L".rb .rbw .rc .rc2 .rct .res .resx .rex .rfx .rh .rpj .ru .rul .rws .rxs .s .scr .sdl .snippet .sql .src .stl"
    L" .sts .suo .svc .sw .swt .sym .tab .tal .tds .tem .template .tpl .tpu .tpx .vb .vba .vbe .vbg .vbp .vbproj "
    L".vbs .vbx .vbz .vc2 .vc4 .vc6 .vce .vcproj .vcx .vdp .vdproj .vsmacros .vspolicy .vspscc .vssscc .vstemplate"
    L" .vtm .vtml .ws .wsc .wsf .xlv .xmta .zfs";

const wchar_t* const ExtensionsInternetList =
    L".!bt .!ut .1 .509 .adp .adr .agp .ags .ahtm .ahtml .alx .ap .as .asa .ascx .ashx .asmx .asp .aspx .asr .atom"
    L" .awm .awt .axd .axl .bc .bc! .btt .ca .cer .cfc .cfm .cfml .cgi .cha .chat .chl .chm .cls .cms .config .crt"
    L" .csr .css .css1 .ctt .dbm .dcd .dcr .der .dhtml .disco .discomap .do .download .downloadhost .dtd .dwp .dwt"
    L" .ent .epibrw .epx .faq .feed-ms .feedsdb-ms .fhtml .fl .fmp .gg .gne .gpc .hdm .hdml .hhp .hta .htaccess "
    L".htc .htd .htm .html .htmls .htx .hxs .idc .ie3 .ihtml .inc .ip .iqy .izs .jhtml .jnlp .js .jsb .jsc .jsf "
    L".jsobj .jsp .jspa .jspx .jst .jsxbin .jvs .jws .master .mht .mhtm .mhtml .moz .msie .mspx .msrcincident "
    L".mxml .ognc .opml .oth .p12 .part .pem .pfc .php .php3 .php4 .php5 .phps .phtm .phtml .pna .rdf .rhtml .rjs "
    L".rss .sap .scr .sgml .sh .sht .shtm .shtml .site .sitemap .sox .ssi .stl .stm .stml .stp .svc .svg .swf "
    L".swf2 .swfl .thtml .torrent .tpl .ttml .uri .url .usr .vbd .vlp .vrm .vrml .wap .war .wbs .wbxml .wdgt "
    L".webarchive .webloc .webtest .wgt .whtt .wim .wmd .wml .wmlc .wmlsc .woa .wrf .wsdl .xap .xbap .xfdl .xht "
    L".xhtm .xhtml .xml .xpd .xps .xsc .xsd .xsl .xslt .xul .zfo .zhtml";

const wchar_t* const ExtensionsEmailsList =
    L".boe .box .cnm .dbx .eml .emlx .idb .idx .maildb .mbg .mbox .mbs .mbx .msb .msf .msg .nws .ost .pmi .pmm "
    L".pmx .pst .tbb .toc .vfb";

const wchar_t* const ExtensionsDocumentList =
    L".aws .chm .cvr .ebo .ebs .ebx .edoc .faq .fax .fdf .fxd .fxr .gra .grf .hlp .lic .lit .ltx .lwp .mpp .one "
    L".onepkg .onetoc .onetoc2 .opd .pdf .pdf_ .pdp .prn .pub .rt .rtf .rtfd .rvf .sam .vcf .word .wps .wpt .htx "
    L".otm .pwi .pdt .psw .pwd .pwt .doc .dot .xlr .wks .bks .xls .wk1 .wdb .bdb .dbf .vcs .adp .adn .mdb .mda "
    L".mdt .mdw .mdf .mde .mam .maq .mar .mat .maf .xla .xlb .xlc .xld .xlk .xll .xlm .xlt .xlv .xlw .gfs .grv "
    L".gsa .xsf .xsn .dbx .mbx .eml .wab .csv .nws .kfl .msg .obi .oft .ost .pot .pps .ppt .bdr .vsd .vss .vst "
    L".vdx .vsx .vtx .vsl .wri .accda .accdb .accdc .accde .accdr .accdt .accdu .laccdb .xlsx .xlsm .xltx .xltm "
    L".xlsb .xlam .pptx .pptm .potx .potm .ppam .ppsx .ppsm .sldm .sldx .thmx .docx .docm .dotx .dotm .odt .ott "
    L".odb .ods .ots .odp .otp .odg .otg .odc .otc .odf .otf .odi .oti .odm .oth .123 .wk2 .wk3 .wk4 .prz .apr "
    L".org .or2 .or3 .scm .dot.docx .sxw .stw .mwp .sxc .stc .12m .mas .smc .sxi .sti .wpd .frm .dat .wcm .wp .wpw"
    L" .wb3 .wb2 .wb1 .shw .mst .cdr .cdt .wpg .wsd .abw .gnm .gnumeric";

// ".jbg" and ".djvu" stand without a trailing comma: "JBG," would never match a file's extension.
const wchar_t* const ExtensionsImageList =
    L".win .vda .icb .fax .eps .pcc .rpf .rla .sgi .rgba .rgb .bw .ppm .pgm .pbm .cel .pic .cut .pal .pnm .24b "
    L".abm .acr .adc .apng .apu .avs .blz .cmyk .cmyka .ctf .cube .dpx .dt2 .ega .fido .fpx .hpe .kdk .kic .kodak "
    L".mfw .nrw .pct .ptx .sdpx .upf .vsd .vss .vtx .wdp .x3f .jpg .jpeg .jpe .jif .jfif .jfi .j .jiff .jls .jng "
    L".jpw .jtf .jp2 .j2k .jpf .jpx .jpm .mj2 .j2c .jpc .hdp .jxr .jbg .jbig .png .png8 .png24 .png32 .wbmp .bmp "
    L".dib .djvu .djv .gif .gif87a .gif89a .giff .mng .pcx .pgf .tga .tpic .tif .tiff .raw .cr2 .crw .can .cam "
    L".bay .cmt .erf .raf .cin .kdc .k25 .pcd .dcr .kqp .mos .mef .mrw .nef .orf .srf .rw2 .pef .j6i .rdc .ia .st4"
    L" .stx .st5 .st6 .st7 .st8 .pmp .sr2 .arw .dta .dng .ai .psd .dwg .dwt .dxf .img .fli .flc .cad .skf .skp "
    L".skb .cdr .pat .bmf .cmx .cpt .xcf .gbr .ico .pp4 .pp5 .mic .msp .jbf .pspbrush .jbr .pfr .pspframe .psp "
    L".pspimage .pspmask .msk .tub .psptube .pdd .pdb .pfi .fsy .frm .psf .stm .pps .ppt .qtif .qti .ras .pst .upi"
    L" .pe4 .vst .ani .rle .vga .rl4 .rl8 .sys .clp .cur .wpg .wmf .emz .wmz .emf .cgm .svg .odg .swf .xps .pns "
    L".jps .mpo";

const wchar_t* const ExtensionsAudioList =
    L".wav .mp3 .mp1 .mp2 .mp2a .mpa .ogg .gsm .dct .flac .au .aiff .vox .raw .wma .aac .ra .ram .dss .msv .dvf "
    L".aif .aifc .audiocd .cda .m3u .midi .rmi .snd .wax .oma .omg .atp .mid .ape .aa .aa3 .abs .ac3 .act .asf "
    L".asx .cdr .lwv .m1a .m2a .m4a .m4b .miz .mm4 .mm8 .mod .mpega .mpga .mpj .mpr .mpu .mpx .oga .pcm .r1m";

const wchar_t* const ExtensionsVideoList =
    L".avi .mpg .mpeg .mpe .mpv .mp2 .mp1 .m1v .m2v .mpv2 .mp2v .mpa .m1a .m2a .asf .lsf .lsx .ivf .kar .mov .qt "
    L".3gp .3gp2 .3g2 .3gpp .rm .rmvb .rpm .rt .rp .smi .smil .roq .asx .pls .wvx .wmx .wmv .wmp .wm .ac3 .dts "
    L".vob .ifo .d2v .fli .flc .flic .mka .mkv .ts .tp .tpr .pva .mp4 .ogm .divx .vp6 .m4a .m4b .vqf .mpc .flv "
    L".dvr-ms .avb .avc .avd .clpi .dv .dvr .dvsd .dvx .enc .flh .hdmov .ivr .m21 .m2p .m2s .m2t .m2ts .m4e .m4u "
    L".m4v .mfp .mjp .m-jpeg .mjpg .mod .moi .moov .movie .mp .mp21 .mp4v .mpg2 .mpg4 .mswmm .mv4 .mvb .mxf .ogv "
    L".rca .rf .rv .snd .svd .swf .vcd .vro .wmd .xpv .xvid";

const wchar_t* const ExtensionsCompressedList =
    L".001 .7z .7-zip .a .ace .c00 .c01 .c02 .alz .a00 .a01 .a02 .arc .ari .arj .b64 .bh .bin .bz .bz2 .bza .bzip "
    L".bzip2 .c2d .cab .cdi .cpio .deb .enc .gca .gz .gza .gzi .gzip .ha .img .iso .j .jar .jgz .lha .lib .lz .lzh"
    L" .lzma .mbf .mdf .mim .nrg .pak .pdi .pk3 .rar .r00 .r01 .r02 .r03 .rpm .rz .sfx .tar .taz .tbz .tbz2 .tg "
    L".tgz .tlz .tlzma .tz .uha .uue .war .xxe .yz1 .z .zip .z01 .z02 .z03 .z04 .s00 .s01 .s02 .zipx .zix .zoo .zz"
    L" .";

const wchar_t* const ExtensionsSystemList =
    L"._ .___ .000 .001 .ac_ .acm .acs .ad_ .adm .an_ .ani .as_ .ascx .asms .av_ .ax .ax_ .ba_ .backup .bi .bin "
    L".bm_ .bpd .bpl .browser .btr .bud .ca_ .cat .cbo .cbt .cbz .cdx .ch_ .chk .chq .chs .cht .chw .clb .cm_ .cn_"
    L" .cnv .co_ .cod .com .cp_ .cpa .cpi .cpl .cpx .crmlog .cs_ .ct_ .cu_ .cur .da_ .dat .data .db .db_ .dbf .dbl"
    L" .de_ .deu .di_ .dic .dl_ .dll .dls .do_ .dr_ .drv .ds .ds_ .dt_ .du_ .ec_ .edb .en_ .enc .es_ .esn .evt "
    L".ex_ .exe .fo_ .fon .fr_ .fra .fts .gdl .gi_ .gp_ .gpd .gr_ .grm .h_ .h2_ .hdmp .hiv .hl_ .hlp .ht_ .hx_ "
    L".ic_ .icm .ico .ie_ .iec .im_ .imd .ime .in_ .is_ .isu .it_ .jar .jc_ .jdbg .jp_ .js_ .key .ko_ .ldo .ldz "
    L".le_ .lex .lnk .lnkcommon .lnkstartup .lru .lx_ .lxa .ma_ .map .mapimail .mar .mb .mb_ .md_ .mdmp .mf_ .mi_ "
    L".mm_ .mmf .mo_ .mod .mrk .ms_ .msi .msp .msstyles .mst .mui .mydocs .n1_ .nl_ .nlp .nls .nt_ .ntd .ntf .ob_ "
    L".oc_ .oca .ocx .olb .os_ .pf .pi_ .pif .pl_ .pm_ .pn_ .pnf .post .pp_ .ppt .pr_ .query .ra_ .re_ .ref .reg "
    L".rl_ .rll .ro_ .rom .rs_ .sa_ .sav .sc_ .scf .scr .sd_ .sdb .sdf .se_ .sh_ .shw .si_ .sig .sp_ .spd .sq_ "
    L".sql .sr_ .state .sv_ .sve .sw_ .sy_ .sys .ta_ .tab .tb_ .tbl .th_ .theme .tl_ .tlb .tme .tp_ .tpl .tr_ .trm"
    L" .ts_ .tsk .tsp .tt_ .ttc .ttf .tx_ .uc_ .uce .uninstall .vb_ .ve_ .ver .vp .vrg .vtd .vx_ .vxd .wa_ .wb_ "
    L".wb2 .wdf .we_ .win32manifest .wk_ .wk4 .wm_ .wp_ .wpc .wpd .wpg .ws_ .wsc .xd_ .xl_ .xm_ .xpi .xs_ .zap "
    L".zfsendtotarget .zi_";

// The entries of a text: every run of blanks (and control characters) separates two of them.
std::vector<std::wstring> SplitAtBlanks(std::wstring_view text) {
    std::vector<std::wstring> entries;
    std::wstring entry;
    for (wchar_t c : text) {
        if (c <= L' ') {
            if (!entry.empty()) entries.push_back(std::move(entry));
            entry.clear();
        } else {
            entry += c;
        }
    }
    if (!entry.empty()) entries.push_back(std::move(entry));
    return entries;
}

} // namespace

TFileTypeGroup::TFileTypeGroup(std::wstring name, std::wstring extensionsText)
    : name_(std::move(name)), extensionsText_(std::move(extensionsText)) {
    extensions_ = SplitAtBlanks(extensionsText_);
    for (auto& extension : extensions_) extension = AsciiUpperCase(extension);
    std::sort(extensions_.begin(), extensions_.end());
}

bool TFileTypeGroup::HasExtension(std::wstring_view ext) const {
    // The entries hold ASCII only, so ASCII upper-casing is all a case-blind lookup needs.
    return std::binary_search(extensions_.begin(), extensions_.end(), AsciiUpperCase(ext));
}

TFileTypesGroups::TFileTypesGroups()
    : ExtensionsText(L"ExtensionsText", ExtensionsTextList),
      ExtensionsDeveloper(L"ExtensionsDeveloper", ExtensionsDeveloperList),
      ExtensionsInternet(L"ExtensionsInternet", ExtensionsInternetList),
      ExtensionsEmails(L"ExtensionsEmails", ExtensionsEmailsList),
      ExtensionsDocument(L"ExtensionsDocument", ExtensionsDocumentList),
      ExtensionsImage(L"ExtensionsImage", ExtensionsImageList),
      ExtensionsAudio(L"ExtensionsAudio", ExtensionsAudioList),
      ExtensionsVideo(L"ExtensionsVideo", ExtensionsVideoList),
      ExtensionsCompressed(L"ExtensionsCompressed", ExtensionsCompressedList),
      ExtensionsSystem(L"ExtensionsSystem", ExtensionsSystemList) {}

} // namespace engine
