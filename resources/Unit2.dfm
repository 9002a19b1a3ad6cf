object Form2: TForm2
  Left = 0
  Top = 0
  AlphaBlend = True
  AlphaBlendValue = 255
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = '关于'
  ClientHeight = 286
  ClientWidth = 398
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  Position = poScreenCenter
  object Image1: TImage
    Left = 0
    Top = 0
    Width = 398
    Height = 286
    Align = alClient
    Picture.Resource = 'ABOUTPICTURE'
    Stretch = True
  end
  object Bevel1: TBevel
    Left = 8
    Top = 220
    Width = 385
    Height = 1
    Shape = bsTopLine
  end
  object Label3: TLabel
    Left = 24
    Top = 8
    Width = 360
    Height = 29
    Caption = 'Orbelin多国语言在线翻译系统'
    Font.Charset = GB2312_CHARSET
    Font.Color = clRed
    Font.Height = -29
    Font.Name = '宋体'
    Font.Style = [fsBold]
    Transparent = True
  end
  object Label4: TLabel
    Left = 86
    Top = 48
    Width = 90
    Height = 12
    Caption = '最新版本：1.0版'
    Transparent = True
  end
  object Label5: TLabel
    Left = 88
    Top = 64
    Width = 168
    Height = 12
    Caption = '操作环境：Window 95/98/Me/Xp'
    Transparent = True
  end
  object Label6: TLabel
    Left = 148
    Top = 78
    Width = 84
    Height = 12
    Caption = 'Window NT/2000'
    Transparent = True
  end
  object Label7: TLabel
    Left = 88
    Top = 96
    Width = 144
    Height = 12
    Caption = '技术支持:qa@example.com'
    Transparent = True
  end
  object Label9: TLabel
    Left = 88
    Top = 112
    Width = 198
    Height = 12
    Caption = '商务合作:business@example.com'
    Transparent = True
  end
  object Label14: TLabel
    Left = 76
    Top = 127
    Width = 120
    Height = 12
    Caption = 'QQ在线支持:12345678'
    Transparent = True
  end
  object Label1: TLabel
    Left = 106
    Top = 143
    Width = 210
    Height = 12
    Caption = '地址：示例省示例市光明路1号'
    Transparent = True
  end
  object Label10: TLabel
    Left = 8
    Top = 203
    Width = 210
    Height = 12
    Caption = '版权所有(C)2004-2008 Orbelin工作室'
    Font.Charset = GB2312_CHARSET
    Font.Color = clBlue
    Font.Height = -12
    Font.Name = '宋体'
    Font.Style = []
    Transparent = True
  end
  object Label8: TLabel
    Left = 8
    Top = 259
    Width = 216
    Height = 16
    Hint = 'http://www.example.com'
    Caption = 'http://www.example.com'
    Font.Charset = GB2312_CHARSET
    Font.Color = clBlue
    Font.Height = -16
    Font.Name = '宋体'
    Font.Style = []
    ParentShowHint = False
    ShowHint = True
    Transparent = True
  end
  object Button1: TButton
    Left = 312
    Top = 248
    Width = 75
    Height = 25
    Caption = '确  定'
    Default = True
    TabOrder = 0
    OnClick = Button1Click
  end
end
