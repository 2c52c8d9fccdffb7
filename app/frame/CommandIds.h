// The design program's command numbers. They are the system's own: the string table holds each
// command's status-bar prompt and tooltip under the same number, and saved settings never store
// them. The wx side works with other numbers (WxCommandIds.h); everything else uses these.
#pragma once

#include <cstdint>

namespace CommandId {

// Framework commands (57600 and up, 59392 and 59393) with their usual meaning.
constexpr uint32_t FileNew = 57600;
constexpr uint32_t FileOpen = 57601;
constexpr uint32_t FileClose = 57602;
constexpr uint32_t FileSave = 57603;
constexpr uint32_t FileSaveAs = 57604;
constexpr uint32_t FilePrintSetup = 57606;
constexpr uint32_t FilePrint = 57607;
constexpr uint32_t FilePrintDirect = 57608;
constexpr uint32_t FilePrintPreview = 57609;
constexpr uint32_t FileMru1 = 57616; // and the three after it: the recent files
constexpr uint32_t EditCopy = 57634;
constexpr uint32_t EditCut = 57635;
constexpr uint32_t EditPaste = 57637;
constexpr uint32_t EditUndo = 57643;
constexpr uint32_t EditRedo = 57644;
constexpr uint32_t WindowNew = 57648;
constexpr uint32_t WindowArrange = 57649;
constexpr uint32_t WindowCascade = 57650;
constexpr uint32_t WindowTileHorz = 57651;
constexpr uint32_t WindowTileVert = 57652;
constexpr uint32_t AppAbout = 57664;
constexpr uint32_t AppExit = 57665;
constexpr uint32_t HelpIndex = 57666;
constexpr uint32_t NextPane = 57680;
constexpr uint32_t PrevPane = 57681;
constexpr uint32_t ViewToolbar = 59392;
constexpr uint32_t ViewStatusBar = 59393;

// Toggles of the other twelve toolbars.
constexpr uint32_t ViewBarStandardParts = 32901;
constexpr uint32_t ViewBarColours = 32902;
constexpr uint32_t ViewBarCamera = 32880;
constexpr uint32_t ViewBarLargeObjects = 32904;
constexpr uint32_t ViewBarSelectMove = 32881;
constexpr uint32_t ViewBarExpertParts = 32882;
constexpr uint32_t ViewBarComfort = 32953;
constexpr uint32_t ViewBarDisplay = 32962;
constexpr uint32_t ViewBarFunParts = 32963;
constexpr uint32_t ViewBarWheels = 32965;
constexpr uint32_t ViewBarWoodParts = 32964;
constexpr uint32_t ViewBarTextiles = 32993;

// Document and application windows.
constexpr uint32_t QualityEdit = 32815;
constexpr uint32_t QualityPhoto = 32816;
constexpr uint32_t WindowPartsList = 32822;
constexpr uint32_t SystemInfo = 32824;
constexpr uint32_t CameraDialog = 32834;
constexpr uint32_t DeleteHistory = 32976;
constexpr uint32_t SaveImage = 32821;

// Parts list window.
constexpr uint32_t ExportPartsList = 32825;
constexpr uint32_t LoadPriceList = 32827;
constexpr uint32_t SavePriceList = 32828;
constexpr uint32_t LoadStockList = 32829;
constexpr uint32_t SaveStockList = 32830;
constexpr uint32_t AddStockList = 32832;
constexpr uint32_t ShowAllParts = 32833;

// Editing, selection and deletion tools.
constexpr uint32_t DeleteSelection = 32974;
constexpr uint32_t SelectAll = 32980;
constexpr uint32_t ToolSelect = 32809;
constexpr uint32_t ToolSelectGroup = 32981;
constexpr uint32_t ToolDeleteSingle = 32803;
constexpr uint32_t ToolChangeAngle = 32952;
constexpr uint32_t ToolChangeSurface = 32954;
constexpr uint32_t ToolSameSurface = 32955;
constexpr uint32_t ToolMaterials = 32810;

// Colours of the tools' tubes and panels.
constexpr uint32_t ColourRed = 32786;
constexpr uint32_t ColourGreen = 32787;
constexpr uint32_t ColourBlue = 32788;
constexpr uint32_t ColourYellow = 32789;
constexpr uint32_t ColourBlack = 32984;
constexpr uint32_t ColourWhite = 32985;

// Tubes.
constexpr uint32_t Tube10 = 32967;
constexpr uint32_t Tube15 = 32800;
constexpr uint32_t Tube25 = 32966;
constexpr uint32_t Tube35 = 32801;
constexpr uint32_t Tube75 = 32802;
constexpr uint32_t TubeFree = 32804;
constexpr uint32_t RoundTubeUp = 32811;
constexpr uint32_t RoundTubeDown = 32813;
constexpr uint32_t RoundTubeFlat = 32814;

// Panels.
constexpr uint32_t Panel25 = 32968;
constexpr uint32_t Panel35 = 32817;
constexpr uint32_t HalfPanel = 32908;
constexpr uint32_t HalfPanelTurned = 32907;
constexpr uint32_t ChairBack = 32998;
constexpr uint32_t DisplayPanel = 32805;
constexpr uint32_t WoodPanel35 = 32918;
constexpr uint32_t WoodPanel75 = 32940;
constexpr uint32_t WoodKnobPanel35 = 32936;
constexpr uint32_t WoodKnobPanel75 = 32939;
constexpr uint32_t WoodPanelRound = 32916;
constexpr uint32_t Lattice45 = 32937;
constexpr uint32_t WoodBedRail = 32938;
constexpr uint32_t TextileStraight = 32994;
constexpr uint32_t SpecialPanel = 32818;

// Couplings, wheels and small parts.
constexpr uint32_t Coupling45Horizontal = 32835;
constexpr uint32_t Coupling45Vertical = 32838;
constexpr uint32_t Coupling45TubeEnd = 32986;
constexpr uint32_t StartStar = 32959;
constexpr uint32_t HolePinCoupling = 32919;
constexpr uint32_t HoleCoupling2 = 32926;
constexpr uint32_t HoleCoupling3 = 32927;
constexpr uint32_t HoleCoupling3Turned = 32971;
constexpr uint32_t BearingCoupling = 32928;
constexpr uint32_t FlexiArm1 = 32950;
constexpr uint32_t FlexiArm2 = 32951;
constexpr uint32_t FlexiBolt15 = 32948;
constexpr uint32_t FlexiBolt5 = 32949;
constexpr uint32_t MultiWheel = 32878;
constexpr uint32_t FloatingWheel = 32879;
constexpr uint32_t WheelBearing = 32883;
constexpr uint32_t Casters = 32929;
constexpr uint32_t SteeringLock = 32884;
constexpr uint32_t HubCap = 32887;
constexpr uint32_t TubeCap = 32888;
constexpr uint32_t Adapter = 32910;
constexpr uint32_t OpenConnectorEnd = 32911;
constexpr uint32_t ClampClosed = 32930;
constexpr uint32_t ClampOpen = 32931;
constexpr uint32_t AluProfile60 = 32945;
constexpr uint32_t AluProfile80 = 32946;
constexpr uint32_t AluConnector = 32944;
constexpr uint32_t PlaceOnConnector = 32969;
constexpr uint32_t PlaceOnTubeEnd = 32970;
constexpr uint32_t PlaceOnTube = 32972;

// Large parts.
constexpr uint32_t Slide = 32889;
constexpr uint32_t SlideModel = 33003;
constexpr uint32_t SlideCurved = 32957;
constexpr uint32_t SlideEnd = 32890;
constexpr uint32_t PoolLarge = 32989;
constexpr uint32_t PoolSmall = 32990;
constexpr uint32_t Roof = 32991;
constexpr uint32_t RoofLarge = 32992;
constexpr uint32_t PlayBag = 32996;
constexpr uint32_t TextileBent = 32995;

// Model turning, standard views and cameras.
constexpr uint32_t ModelRight = 32792;
constexpr uint32_t ModelLeft = 32790;
constexpr uint32_t ModelUp = 32794;
constexpr uint32_t ModelDown = 32795;
constexpr uint32_t ViewBird = 32782;
constexpr uint32_t ViewFront = 32783;
constexpr uint32_t ViewLeft = 32784;
constexpr uint32_t ViewRight = 32797;
constexpr uint32_t ViewBelow = 32799;
constexpr uint32_t ViewBack = 32798;
constexpr uint32_t ViewStandard = 32900;
constexpr uint32_t Camera1 = 32932;
constexpr uint32_t Camera2 = 32933;
constexpr uint32_t Camera3 = 32934;
constexpr uint32_t Camera4 = 32935;
constexpr uint32_t ZoomIn = 32897;
constexpr uint32_t ZoomOut = 32898;
constexpr uint32_t PerspectiveNear = 32895;
constexpr uint32_t PerspectiveFar = 32896;
constexpr uint32_t SectionPlane = 32892;
constexpr uint32_t SectionBack = 32893;
constexpr uint32_t SectionFront = 32894;
constexpr uint32_t Pan = 32777;

// Display and design options.
constexpr uint32_t WithoutPanels = 32891;
constexpr uint32_t OnlySelected = 32960;
constexpr uint32_t Explosion = 32978;
constexpr uint32_t ConnectorEnds = 32982;
constexpr uint32_t WithoutSelectionLines = 32979;
constexpr uint32_t PhotoQuality = 32819;
constexpr uint32_t WalkHeight = 32983;
constexpr uint32_t AutoAdjust = 32977;
constexpr uint32_t WideSnap = 32997;
constexpr uint32_t CollisionTest = 32958;
constexpr uint32_t HeadTrapTest = 32961;

// Selection box, steps and moving.
constexpr uint32_t BoxTop = 32840;
constexpr uint32_t BoxBottom = 32841;
constexpr uint32_t BoxLeft = 32842;
constexpr uint32_t BoxRight = 32843;
constexpr uint32_t BoxBack = 32844;
constexpr uint32_t BoxFront = 32845;
constexpr uint32_t BoxSmaller = 32860;
constexpr uint32_t BoxLarger = 32861;
constexpr uint32_t BoxMove = 32912;
constexpr uint32_t BoxSelect = 32855;
constexpr uint32_t BoxSelectAdd = 32856;
constexpr uint32_t BoxDeselect = 32857;
constexpr uint32_t BoxInvert = 32858;
constexpr uint32_t Step5 = 32862;
constexpr uint32_t Step10 = 32863;
constexpr uint32_t Step20 = 32864;
constexpr uint32_t Step40 = 32865;
constexpr uint32_t Step80 = 32866;
constexpr uint32_t MoveAdaptCouplings = 32913;
constexpr uint32_t MoveKeepCouplings = 32914;
constexpr uint32_t MoveCopy = 32973;
constexpr uint32_t MoveLeft = 32871;
constexpr uint32_t MoveRight = 32867;
constexpr uint32_t MoveUp = 32870;
constexpr uint32_t MoveDown = 32869;
constexpr uint32_t MoveFront = 32872;
constexpr uint32_t MoveBack = 32873;

} // namespace CommandId
