object Form1: TForm1
  Left = 0
  Top = 0
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize, biMaximize]
  Caption = 'Orbelin多国语言在线翻译 v1.0'
  ClientHeight = 459
  ClientWidth = 613
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  Icon.Resource = 'MAINICON'
  Position = poScreenCenter
  object GroupBox1: TGroupBox
    Left = 8
    Top = 8
    Width = 601
    Height = 193
    TabOrder = 0
    object Label4: TLabel
      Left = 12
      Top = 16
      Width = 48
      Height = 12
      Caption = '原文文本'
    end
    object Label2: TLabel
      Left = 336
      Top = 17
      Width = 54
      Height = 12
      Caption = '原文语言:'
    end
    object wl_srclang: TComboBox
      Left = 408
      Top = 13
      Width = 113
      Height = 22
      Style = csDropDownList
      Font.Charset = GB2312_CHARSET
      Font.Color = clWindowText
      Font.Height = -12
      Font.Name = 'Tahoma'
      Font.Style = []
      ItemIndex = 2
      TabOrder = 4
      Items.Strings = (
        '请选择原文语言'
        'English'
        '简体中文'
        '繁体中文'
        '荷兰语'
        '法语'
        '德语'
        '希腊语'
        '意大利语'
        '日本语'
        '韩国语'
        '葡萄牙语(巴西)'
        '俄语'
        '西班牙语')
    end
    object Memo1: TMemo
      Left = 8
      Top = 40
      Width = 513
      Height = 145
      Font.Charset = GB2312_CHARSET
      Font.Color = clWindowText
      Font.Height = -12
      Font.Name = 'Tahoma'
      Font.Style = []
      Lines.Strings = (
        '【功能说明】'
        ''
        '    Orbelin翻译软件最大特点是迅速和便捷，只需输入所需翻译的内容，就能马上得到翻译结果，'
        '支持中、英、法、德、俄、日、韩、荷兰、西班牙、意大利、葡萄牙等国家之间的语言互译，'
        '是翻译短小文章的最佳选择。'
        ''
        '【使用步骤】'
        ''
        '    请在原文文本框内输入需要翻译的内容，然后选择原文语言和译文语言，点击“翻译”便'
        '能马上得到翻译结果。“原文语言”指原文的语种类型；“译文语言”指翻译成结果的语言类型。'
        ''
        '【联系方式】'
        ''
        '    Orbelin软件工作室  电子邮件：support@example.com  版本：V1.0')
      TabOrder = 0
      OnChange = Memo1Change
    end
    object Button1: TButton
      Left = 528
      Top = 91
      Width = 65
      Height = 25
      Caption = '复制'
      TabOrder = 1
      OnClick = Button1Click
    end
    object Button2: TButton
      Left = 528
      Top = 124
      Width = 65
      Height = 25
      Caption = '粘贴'
      TabOrder = 2
      OnClick = Button2Click
    end
    object Button3: TButton
      Left = 528
      Top = 157
      Width = 65
      Height = 25
      Caption = '清空'
      TabOrder = 3
      OnClick = Button3Click
    end
  end
  object GroupBox2: TGroupBox
    Left = 8
    Top = 208
    Width = 601
    Height = 201
    TabOrder = 1
    object Label5: TLabel
      Left = 13
      Top = 22
      Width = 48
      Height = 12
      Caption = '译文文本'
    end
    object Label1: TLabel
      Left = 160
      Top = 23
      Width = 54
      Height = 12
      Caption = '翻译主题:'
    end
    object Label3: TLabel
      Left = 342
      Top = 24
      Width = 54
      Height = 12
      Caption = '译文语言:'
    end
    object wl_glossary: TComboBox
      Left = 224
      Top = 17
      Width = 89
      Height = 22
      Style = csDropDownList
      Font.Charset = GB2312_CHARSET
      Font.Color = clWindowText
      Font.Height = -12
      Font.Name = 'Tahoma'
      Font.Style = []
      ItemIndex = 0
      TabOrder = 4
      Items.Strings = (
        '一般'
        '汽车业'
        '航空业'
        '化学'
        '口语'
        '计算机/IT业'
        '地球科学'
        '经济学'
        '电子学'
        '食品科学'
        '法律'
        '生命科学'
        '数学'
        '机械工程'
        '医学'
        '冶金学'
        '军事'
        '海军/海洋'
        '摄影/光学'
        '物理学'
        '政治学')
    end
    object wl_trglang: TComboBox
      Left = 406
      Top = 18
      Width = 113
      Height = 22
      Style = csDropDownList
      Font.Charset = GB2312_CHARSET
      Font.Color = clWindowText
      Font.Height = -12
      Font.Name = 'Tahoma'
      Font.Style = []
      ItemIndex = 1
      TabOrder = 3
      Items.Strings = (
        '请选择译文语言'
        'English'
        '简体中文'
        '繁体中文'
        '荷兰语'
        '法语'
        '德语'
        '希腊语'
        '意大利语'
        '日本语'
        '韩国语'
        '葡萄牙语(巴西)'
        '俄语'
        '西班牙语')
    end
    object Memo2: TMemo
      Left = 8
      Top = 48
      Width = 512
      Height = 145
      Font.Charset = GB2312_CHARSET
      Font.Color = clWindowText
      Font.Height = -12
      Font.Name = 'Tahoma'
      Font.Style = []
      TabOrder = 0
      OnChange = Memo2Change
    end
    object BitBtn1: TBitBtn
      Left = 528
      Top = 94
      Width = 65
      Height = 25
      Caption = '翻  译'
      TabOrder = 5
      OnClick = BitBtn1Click
    end
    object Button5: TButton
      Left = 528
      Top = 131
      Width = 65
      Height = 25
      Caption = '复制'
      TabOrder = 1
      OnClick = Button5Click
    end
    object Button6: TButton
      Left = 528
      Top = 168
      Width = 65
      Height = 25
      Caption = '清空'
      TabOrder = 2
      OnClick = Button6Click
    end
  end
  object GroupBox4: TGroupBox
    Left = 4
    Top = 411
    Width = 357
    Height = 45
    Caption = '翻译结果'
    TabOrder = 2
    object RadioButton1: TRadioButton
      Left = 7
      Top = 20
      Width = 65
      Height = 17
      Caption = '保存原文'
      Enabled = False
      TabOrder = 1
    end
    object RadioButton2: TRadioButton
      Left = 87
      Top = 19
      Width = 65
      Height = 17
      Caption = '保存译文'
      Enabled = False
      TabOrder = 2
    end
    object RadioButton3: TRadioButton
      Left = 167
      Top = 18
      Width = 113
      Height = 17
      Caption = '保存原文和译文'
      Checked = True
      Enabled = False
      TabOrder = 3
      TabStop = True
    end
    object Button4: TButton
      Left = 280
      Top = 14
      Width = 65
      Height = 25
      Caption = '保存'
      Enabled = False
      TabOrder = 0
      OnClick = Button4Click
    end
  end
  object BitBtn4: TBitBtn
    Left = 375
    Top = 424
    Width = 75
    Height = 25
    Caption = '帮助'
    TabOrder = 5
    OnClick = BitBtn4Click
  end
  object BitBtn2: TBitBtn
    Left = 455
    Top = 424
    Width = 75
    Height = 25
    Caption = '关  于'
    TabOrder = 3
    OnClick = BitBtn2Click
  end
  object BitBtn3: TBitBtn
    Left = 535
    Top = 424
    Width = 75
    Height = 25
    Caption = '关  闭'
    TabOrder = 4
    OnClick = BitBtn3Click
  end
  object XPManifest1: TXPManifest
  end
  object http: TNetHTTP
    MaxLineAction = maException
    ReadTimeout = 30000
    MaxResponseBody = 16777216
    AllowCookies = True
    ProxyParams.BasicAuthentication = False
    ProxyParams.ProxyPort = 0
    ProxyParams.ProxyServer = ''
    Request.ContentLength = -1
    Request.ContentRangeEnd = 0
    Request.ContentRangeStart = 0
    Request.ContentType = 'text/html'
    Request.Accept = 'text/html, */*'
    Request.BasicAuthentication = False
    Request.UserAgent = 'Mozilla/3.0 (compatible; Orbelin Net Library)'
    HTTPOptions = [hoForceEncodeParams]
    HandleRedirects = False
    RedirectMaximum = 15
    ProtocolVersion = pv1_1
  end
  object SaveDialog1: TSaveDialog
    DefaultExt = '.txt'
    Filter = '文本文件(*.txt)|*.txt|所有文件(*.*)|*.*'
  end
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcSystemMenu]
    SkinStore = '(Good)'
    SkinFormtype = sfMainform
    Version = '1.0.0.0'
    MenuUpdate = True
    @SkinStream@
  end
end
