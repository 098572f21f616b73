#include "protocols/mbus/UMBusScanFiles.h"

#include "platform/XmlDoc.h"
#include "shell/UComon.h"

#include <cmath>

namespace {

using platform::XmlNode;

QString Num(qint64 n) { return QString::number(n); }
QString Flag(bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); }

bool Writes_Id(int code) { return code == 2 || code == 4 || code == 5 || code == 7 || code == 8 || code == 10; }
bool Writes_Node_Registers(int code)
{
    return code == 0 || code == 1 || code == 9 || code == 13 || code == 14;
}

QString Ust(const TVariable_MBus& v)
{
    return QStringLiteral("(U%1S%2T%3)").arg(int(v.device)).arg(qlonglong(v.storage_number)).arg(int(v.tarif));
}

// The document to write into: a fresh one, or the existing list when appending.
XmlNode Open_Root(platform::XmlDocument& doc, const TSaveConfXML& in)
{
    if (in.Append == 1) {
        doc.LoadFromFile(in.File_Name);
        return doc.DocumentElement();
    }
    return doc.AddRoot(QStringLiteral("M-Bus_Network"));
}

void Write_Node_Head(XmlNode node, const TSaveConfXML& in, const QString& enable, const QString& id,
                     const QString& secondary, const QString& id_type, const QString& description,
                     const QString& nke, const QString& reset, const QString& cut)
{
    node.SetAttribute(QStringLiteral("Node_Enable"), enable);
    if (Writes_Id(in.XML_Code_Dev))
        node.SetAttribute(QStringLiteral("ID"), id);
    if (in.XML_Code_Dev == 4 || in.XML_Code_Dev == 7)
        node.SetAttribute(QStringLiteral("Secondary_address"), secondary);
    node.SetAttribute(QStringLiteral("ID_Primary"), id);
    node.SetAttribute(QStringLiteral("ID_Secondary"), secondary);
    node.SetAttribute(QStringLiteral("Node_ID_Type"), id_type);
    node.SetAttribute(QStringLiteral("Descrizione"), description);
    node.SetAttribute(QStringLiteral("Send_SND_NKE"), nke);
    node.SetAttribute(QStringLiteral("Reset_App"), reset);
    node.SetAttribute(QStringLiteral("Cut_After"), cut);
}

// The node-state and identification-number registers; the wired list gives the node state one
// register and the number two, the wireless list the other way round.
void Write_Node_Registers(XmlNode node, const TSaveConfXML& in, int& R, int state_regs, int ident_regs)
{
    if (in.XML_Code_Dev == 12) {
        for (const char* name : {"Node_State", "Ident_Num", "BCDtoINT_IN", "Swap_IN", "Var_List_Type", "NS_VarType",
                                 "IN_VarType"})
            node.SetAttribute(QLatin1String(name), QStringLiteral("0"));
        return;
    }
    if (in.StartModnode != 1 || !Writes_Node_Registers(in.XML_Code_Dev))
        return;
    node.SetAttribute(QStringLiteral("Node_State"), in.En_NodeState ? Num(R) : QStringLiteral("0"));
    if (in.En_NodeState)
        R += state_regs;
    node.SetAttribute(QStringLiteral("Ident_Num"), in.En_IdeNum ? Num(R) : QStringLiteral("0"));
    if (in.En_IdeNum)
        R += ident_regs;
}

void Write_Variable(XmlNode parent, const TSaveConfXML& in, const TVariable_MBus& v, int i, bool selected,
                    bool Check_BCD, int& R)
{
    XmlNode var = parent.AddChild(QStringLiteral("Variabile"));
    var.SetAttribute(QStringLiteral("Enable"), Flag(selected));
    var.SetAttribute(QStringLiteral("Position"), Num(i + 1));
    var.SetAttribute(QStringLiteral("Desc"), v.Desc_Type_Data + QLatin1Char(' ') + Ust(v));
    var.SetAttribute(QStringLiteral("Type"), Num(v.type_data));
    var.SetAttribute(QStringLiteral("VIF_ASCII"), v.type_data == 21 ? v.VIF_ASCII : QString());
    const int fun = v.function_fild == 1 ? 2 : v.function_fild == 2 ? 1 : v.function_fild;
    var.SetAttribute(QStringLiteral("Fun_Field"), Num(fun));
    var.SetAttribute(QStringLiteral("Length"), QStringLiteral("0"));
    if (in.XML_Code_Dev != 12)
        var.SetAttribute(QStringLiteral("ModReg"), Num(R));
    const bool counts = in.StartModnode == 0 || selected;
    const TRegisterSpan span = Register_Span(v.dimension, v.nbyte);
    var.SetAttribute(QStringLiteral("Dim"), Num(counts ? span.Dim : 255));
    if (v.dimension == 13)
        var.SetAttribute(QStringLiteral("Length"), Num(v.nbyte));
    if (counts)
        R += span.Registers;
    var.SetAttribute(QStringLiteral("Unit"), Num(v.device));
    var.SetAttribute(QStringLiteral("StoNumber"), Num(v.storage_number));
    var.SetAttribute(QStringLiteral("Tariff"), Num(v.tarif));
    var.SetAttribute(QStringLiteral("VIFE"), Num(v.Type_Data_Vife));
    if (in.XML_Code_Dev == 12) {
        var.SetAttribute(QStringLiteral("BACnet_EngUnits"), Num(shell::Default_BACnet_Eng_Unit()));
        var.SetAttribute(QStringLiteral("BACnet_DataType"), QStringLiteral("0"));
        var.SetAttribute(QStringLiteral("Post_Operation"), QStringLiteral("0"));
    } else {
        var.SetAttribute(QStringLiteral("ModScale"), QStringLiteral("0"));
    }
    var.SetAttribute(QStringLiteral("BCDtoINT"), Flag(v.Is_BCD && Check_BCD));
    var.SetAttribute(QStringLiteral("SWAP"), QStringLiteral("0"));
}

int Start_Register(const TSaveConfXML& in, size_t p, int R)
{
    if (in.StartModnode != 1)
        return R;
    return p < in.SMN_Array.size() ? in.SMN_Array[p] : 1;
}

void Write_Report_Variables(XmlNode node, const TList_Var& vars)
{
    for (const auto& v : vars) {
        XmlNode var = node.AddChild(QStringLiteral("Variable"));
        var.SetAttribute(QStringLiteral("Value"), v->ValueStr);
        var.SetAttribute(QStringLiteral("Type"), v->Desc_Type_Data);
        var.SetAttribute(QStringLiteral("UST"), Ust(*v));
        const std::pair<const char*, QString> children[] = {
            {"Storage_Number", Num(v->storage_number)},
            {"Tariff", Num(v->tarif)},
            {"Unit", Num(v->device)},
            {"Data_Field", v->DataFieldStr},
            {"Function_Field", v->FunctionFieldStr},
            {"Type", v->Desc_Type_Data},
            {"Value", v->ValueStr},
            {"DIF", v->DIF},
            {"VIF", QStringLiteral("$") + QString::number(v->VIF, 16).toUpper().rightJustified(2, u'0')},
            {"DIFE", v->DIFE},
            {"VIFE", v->VIFE},
            {"DATA", QStringLiteral("$") + v->totdati},
        };
        for (const auto& [name, text] : children)
            var.AddChild(QLatin1String(name)).SetText(text);
    }
}

}  // namespace

TRegisterSpan Register_Span(int data_field, int nbyte)
{
    switch (data_field) {
    case 1: case 9: return {0, 1};
    case 2: case 10: return {1, 1};
    case 3: case 11: return {4, 2};
    case 4: case 12: return {2, 2};
    case 5: return {6, 2};
    case 6: case 14: return {5, 3};
    case 7: return {3, 4};
    case 13: return {7, int(std::lrint((nbyte + 1) / 2.0))};
    default: return {255, 0};
    }
}

bool Save_XML_Conf_Wired(const TList_Slave_MBus& meters, const TSaveConfXML& in, bool Check_BCD)
{
    if (meters.empty())
        return false;
    const auto checked = [&](const void* node) { return !node || !in.Node_Checked || in.Node_Checked(node); };
    platform::XmlDocument doc;
    XmlNode root = Open_Root(doc, in);
    XmlNode parent = root;
    int R = in.Mod_Start;
    for (size_t p = 0; p < meters.size(); ++p) {
        const TSlave_MBus& m = *meters[p];
        R = Start_Register(in, p, R);
        if ((in.XML_Code_Dev == 4 || in.XML_Code_Dev == 7) && p == 0) {
            parent = root.AddChild(QStringLiteral("Group"));
            parent.SetAttribute(QStringLiteral("Baudrate"), Num(in.Index_Baud));
            parent.SetAttribute(QStringLiteral("Parity"), Num(in.Index_Par));
        }
        XmlNode node = parent.AddChild(QStringLiteral("Nodo"));
        Write_Node_Head(node, in, Flag(checked(m.Node)), Num(m.Primary_Addresss), m.Secondary_Addresss,
                        Num(in.Node_ID_Type), m.descManufacture, Flag(in.SND_NKE == 1), Flag(in.Reset_App == 1),
                        Num(in.Cut_After));
        if (in.XML_Code_Dev == 12 || in.XML_Code_Dev == 13 || in.XML_Code_Dev == 14)
            node.SetAttribute(QStringLiteral("MBus_Type"), QStringLiteral("1"));
        Write_Node_Registers(node, in, R, 1, 2);
        for (size_t i = 0; i < m.List_Var.size(); ++i)
            Write_Variable(node, in, *m.List_Var[i], int(i), checked(m.List_Var[i]->Node), Check_BCD, R);
    }
    doc.SaveToFile(in.File_Name);
    return true;
}

bool Save_XML_Conf_Wireless(const TList_Slave_wMBus& meters, const TSaveConfXML& in, bool Check_BCD)
{
    if (meters.empty())
        return false;
    platform::XmlDocument doc;
    XmlNode root = Open_Root(doc, in);
    int R = in.Mod_Start;
    for (size_t p = 0; p < meters.size(); ++p) {
        const TSlave_wMBus& m = *meters[p];
        R = Start_Register(in, p, R);
        XmlNode node = root.AddChild(QStringLiteral("Nodo"));
        const QString one = QStringLiteral("1");
        const QString zero = QStringLiteral("0");
        Write_Node_Head(node, in, Flag(m.Enable), one, one, zero, m.ALA_Manu_str, zero, zero, QStringLiteral("3"));
        Write_Node_Registers(node, in, R, 2, 1);
        node.SetAttribute(QStringLiteral("MBus_Type"), zero);
        node.SetAttribute(QStringLiteral("wMBus_ManID"), Num(m.ALA_Manufacturer));
        node.SetAttribute(QStringLiteral("wMBus_Add"), Num(uint32_t(m.ALA_Address)));
        node.SetAttribute(QStringLiteral("wMBus_Ver"), Num(m.ALA_Version));
        node.SetAttribute(QStringLiteral("wMBus_DevType"), Num(m.ALA_DeviceType));
        node.SetAttribute(QStringLiteral("wMBus_En_Key"), Flag(m.Enable_Key));
        for (int k = 0; k < 16; ++k)
            node.SetAttribute(QStringLiteral("wMBus_Key_%1").arg(k + 1), Num(m.Key[size_t(k)]));
        for (size_t i = 0; i < m.List_Var.size(); ++i)
            if (m.List_Var[i]->Real_Wireless_Var)
                Write_Variable(node, in, *m.List_Var[i], int(i), m.List_Var[i]->Enable, Check_BCD, R);
    }
    doc.SaveToFile(in.File_Name);
    return true;
}

void Save_XML_File_DLL(const TList_Slave_MBus& meters, const QString& path)
{
    platform::XmlDocument doc;
    XmlNode root = doc.AddRoot(QStringLiteral("SCAN_M-Bus_Wired"));
    for (const auto& m : meters) {
        XmlNode node = root.AddChild(QStringLiteral("Node"));
        node.SetAttribute(QStringLiteral("Primary_Address"), Num(m->Primary_Addresss));
        node.SetAttribute(QStringLiteral("Secondary_Address"), m->Secondary_Addresss);
        node.SetAttribute(QStringLiteral("Manufacturer"), m->descManufacture + QStringLiteral(" (") + Num(m->Manufacture) + u')');
        node.SetAttribute(QStringLiteral("Version"), Num(m->Version));
        node.SetAttribute(QStringLiteral("Type"), Num(m->Medium));
        Write_Report_Variables(node, m->List_Var);
    }
    doc.SaveToFile(path);
}

void Save_Wireless_XML_File_DLL(const TList_Slave_wMBus& meters, const QString& path)
{
    platform::XmlDocument doc;
    XmlNode root = doc.AddRoot(QStringLiteral("SCAN_M-Bus_Wireless"));
    for (const auto& m : meters) {
        XmlNode node = root.AddChild(QStringLiteral("Node"));
        node.SetAttribute(QStringLiteral("Manufacturer"), m->ALA_Manu_str);
        node.SetAttribute(QStringLiteral("Address"),
                          QString::number(uint32_t(m->ALA_Address), 16).toUpper().rightJustified(8, u'0'));
        node.SetAttribute(QStringLiteral("Version"), Num(m->ALA_Version));
        node.SetAttribute(QStringLiteral("Device_Type"), Num(m->ALA_DeviceType));
        node.SetAttribute(QStringLiteral("Cripted"), m->Cripted ? QStringLiteral("True") : QStringLiteral("False"));
        Write_Report_Variables(node, m->List_Var);
    }
    doc.SaveToFile(path);
}
